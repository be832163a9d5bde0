// A long random session through the real screen loops: pointer motion and
// presses anywhere and exactly on button edges, every kind of key, several
// events a frame and long quiet stretches, many games in a row, and a close
// request at the end. Every frame is checked against the rules of drawing.
//
// The seed is printed; give it back to replay a failure:
//   HANGMAN_RANDOM_SEED=1234 HANGMAN_RANDOM_BATCHES=200000
//   ./tests/hangman_tests --gtest_filter='RandomSession.*'   (both in the environment)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <set>
#include <string>

#include "app/app.hpp"
#include "gfx/media.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using harness::Batch;
using harness::Copy;
using harness::Frame;

namespace {

unsigned long long setting(const char* name, unsigned long long fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoull(value, nullptr, 10) : fallback;
}

bool same(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// Index of `clip` in `table`, or -1.
template <size_t N>
int index_in(const SDL_Rect (&table)[N], const SDL_Rect& clip)
{
    for (size_t i = 0; i < N; ++i) {
        if (same(table[i], clip)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Points worth pressing: every button's corners and far edges, one pixel
// inside and outside, and their middles.
std::vector<SDL_Point> edge_points()
{
    std::vector<SDL_Point> points;
    const SDL_Rect areas[] = {{60, 360, 240, 60},  {340, 360, 240, 60}, {200, 200, 240, 60},
                              {200, 280, 240, 60}, {200, 360, 240, 60}, {580, 0, 52, 52},
                              {210, 354, 42, 26}};
    for (const SDL_Rect& a : areas) {
        for (int dx : {-1, 0, 1}) {
            for (int dy : {-1, 0, 1}) {
                points.push_back({a.x + dx, a.y + dy});
                points.push_back({a.x + a.w + dx, a.y + a.h + dy});
            }
        }
        points.push_back({a.x + a.w / 2, a.y + a.h / 2});
    }
    return points;
}

class RandomInput {
public:
    explicit RandomInput(unsigned seed) : random_(seed), edges_(edge_points()) {}

    Batch batch(size_t)
    {
        if (quiet_ > 0) {
            --quiet_;
            return {};
        }
        if (chance(0.02)) {
            quiet_ = pick(5, 60);  // a long stretch with no input
            return {};
        }
        Batch batch;
        const int events = pick(0, 6);
        for (int i = 0; i < events; ++i) {
            batch.push_back(action());
        }
        events_ += batch.size();
        return batch;
    }

    unsigned long long events() const { return events_; }

private:
    harness::Action action()
    {
        const int kind = pick(0, 99);
        const SDL_Point p = point();
        if (kind < 15) {
            return harness::move_to(p.x, p.y);
        }
        if (kind < 30) {
            return harness::press(p.x, p.y, static_cast<Uint8>(pick(1, 3)));
        }
        if (kind < 35) {
            return harness::release(p.x, p.y);
        }
        if (kind < 70) {
            return harness::key(SDLK_a + pick(0, 25), chance(0.1));
        }
        if (kind < 88) {
            return harness::key(SDLK_SPACE, chance(0.1));
        }
        if (kind < 93) {
            return harness::key(SDLK_BACKSPACE);
        }
        const SDL_Keycode others[] = {SDLK_RETURN, SDLK_ESCAPE, SDLK_1,      SDLK_F1,  SDLK_LEFT,
                                      SDLK_LSHIFT, SDLK_TAB,    SDLK_DELETE, SDLK_KP_5};
        return harness::key(others[pick(0, 8)]);
    }

    SDL_Point point()
    {
        if (chance(0.5)) {
            return edges_[static_cast<size_t>(pick(0, static_cast<int>(edges_.size()) - 1))];
        }
        return {pick(-5, 645), pick(-5, 485)};
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    std::mt19937 random_;
    std::vector<SDL_Point> edges_;
    int quiet_ = 0;
    unsigned long long events_ = 0;
};

// Checks one frame against the rules; counts games and frames.
class FrameRules {
public:
    void check(const Frame& frame)
    {
        ++frames_;
        if (frame.copies.empty()) {
            return;  // the extra present after a close request in a game
        }
        const SDL_Texture* background = frame.copies.front().texture;
        const bool game = background == game_screen_texture.sdl_texture;
        if (game && !in_game_) {
            ++games_;
        }
        in_game_ = game;

        int stage = -1;
        int digit = -1;
        std::set<int> guessed;
        for (const Copy& copy : frame.copies) {
            check_clip(copy, stage, digit, guessed);
        }
        if (game) {
            EXPECT_TRUE(digit >= 0 && digit <= 6) << where() << "tries digit " << digit;
            EXPECT_EQ(6 - digit, stage) << where() << "figure stage against tries";
        }
    }

    unsigned long long frames() const { return frames_; }
    unsigned long long games() const { return games_; }

private:
    std::string where() const { return "frame " + std::to_string(frames_) + ": "; }

    void check_clip(const Copy& copy, int& stage, int& digit, std::set<int>& guessed)
    {
        if (copy.texture == alpha_texture.sdl_texture) {
            ASSERT_TRUE(copy.has_clip) << where() << "letters sheet drawn whole";
            if (copy.clip.x == 47) {
                const int letter = index_in(small_letter_clips, copy.clip);
                EXPECT_NE(-1, letter) << where() << "small letter clip outside its table";
                if (in_game_) {
                    EXPECT_TRUE(guessed.insert(letter).second)
                        << where() << "guessed letter " << letter << " repeated";
                }
            } else if (copy.clip.x == 57) {
                digit = index_in(digit_clips, copy.clip);
                EXPECT_NE(-1, digit) << where() << "digit clip outside its table";
            } else {
                EXPECT_NE(-1, index_in(letter_clips, copy.clip))
                    << where() << "letter clip outside its table";
            }
        } else if (copy.texture == hung_boi_texture.sdl_texture) {
            stage = index_in(hung_boi_clips, copy.clip);
            EXPECT_NE(-1, stage) << where() << "figure clip outside its table";
        } else {
            for (const Button* b : {&start_button, &options_button, &easy_button, &med_button,
                                    &hard_button, &back_button, &dev_mode_button}) {
                if (copy.texture == b->sheet->sdl_texture) {
                    EXPECT_TRUE(copy.has_clip) << where() << "a button drawn as its whole sheet";
                    const SDL_Rect* pair =
                        b->idle_clip < b->hover_clip ? b->idle_clip : b->hover_clip;
                    EXPECT_TRUE(same(copy.clip, pair[0]) || same(copy.clip, pair[1]))
                        << where() << "button clip outside its pair";
                }
            }
        }
    }

    unsigned long long frames_ = 0;
    unsigned long long games_ = 0;
    bool in_game_ = false;
};

class RandomSession : public harness::GameTest {};

TEST_F(RandomSession, EveryFrameKeepsTheRules)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const unsigned seed = static_cast<unsigned>(
        setting("HANGMAN_RANDOM_SEED", static_cast<unsigned long long>(now.count()) % 1000000007));
    const size_t batches = setting("HANGMAN_RANDOM_BATCHES", 6000);
    std::cout << "random session: seed " << seed << ", " << batches
              << " batches (HANGMAN_RANDOM_SEED=" << seed << " replays it)" << std::endl;

    hooks::random().fixed_time = seed;  // words vary from game to game, yet replay exactly
    hooks::random().time_advances = true;

    RandomInput input(seed);
    FrameRules rules;
    harness::watch_frames([&rules](const Frame& frame) { rules.check(frame); }, false);
    harness::run_generated_script([&input](size_t n) { return input.batch(n); }, batches);
    {
        harness::CapturedStdout quiet;  // developer mode may be switched on at random
        run_main_menu();
    }
    harness::watch_frames(nullptr, true);

    std::cout << "random session: " << input.events() << " events, " << rules.games() << " games, "
              << rules.frames() << " frames, seed " << seed << std::endl;
    EXPECT_GT(rules.frames(), batches / 2);
}

}  // namespace
