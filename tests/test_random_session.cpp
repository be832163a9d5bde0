// A long random session through the real screen loops: pointer motion and
// presses anywhere and exactly on button edges, every kind of key, several
// events a frame, bursts of guesses, the window hidden, minimised, restored
// and exposed, long quiet stretches, many games in a row, and a close request
// at the end. Every frame is checked against the rules of drawing, and every
// game frame against a model of the game played.
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
#include "game/words.hpp"
#include "gfx/media.hpp"
#include "support/game_view.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

using harness::Batch;
using harness::Copy;
using harness::Frame;
using harness::GameView;
using harness::index_in;
using harness::read_game;
using harness::same;

namespace {

unsigned long long setting(const char* name, unsigned long long fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoull(value, nullptr, 10) : fallback;
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
        if (chance(0.1)) {
            guesses(batch);
        } else {
            const int events = pick(0, 6);
            for (int i = 0; i < events; ++i) {
                batch.push_back(action());
            }
        }
        window_action(batch);
        events_ += batch.size();
        return batch;
    }

    unsigned long long events() const { return events_; }

private:
    // Several letters guessed within one frame, the last tries included.
    void guesses(Batch& batch)
    {
        const int count = pick(2, 4);
        for (int i = 0; i < count; ++i) {
            batch.push_back(harness::key(SDLK_a + pick(0, 25)));
            batch.push_back(harness::key(SDLK_SPACE));
        }
    }

    // Now and then the window goes away for a few frames, or is exposed.
    void window_action(Batch& batch)
    {
        if (away_) {
            if (chance(0.2)) {
                batch.push_back(hidden_ ? harness::show_window() : harness::restore_window());
                away_ = false;
            }
        } else if (chance(0.005)) {
            hidden_ = chance(0.5);
            batch.push_back(hidden_ ? harness::hide_window() : harness::minimise_window());
            away_ = true;
        } else if (chance(0.005)) {
            batch.push_back(harness::window_event(SDL_WINDOWEVENT_EXPOSED));
        }
    }

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
    bool away_ = false;
    bool hidden_ = false;  // away by hiding rather than minimising
    unsigned long long events_ = 0;
};

// What a game frame shows of the game's state.
// The game as it must be after the letters guessed so far, for one word.
GameView expected_game(const std::string& word, const std::string& guessed)
{
    GameView view;
    view.guessed = guessed;
    int wrong = 0;
    for (char letter : guessed) {
        wrong += word.find(letter) == std::string::npos;
    }
    for (char letter : word) {
        view.word_row += guessed.find(letter) != std::string::npos ? letter : '_';
    }
    view.tries_digit = std::max(0, 6 - wrong);
    view.figure_stage = 6 - view.tries_digit;
    return view;
}

std::string describe(const GameView& view)
{
    return "row \"" + view.word_row + "\", guessed \"" + view.guessed + "\", tries " +
           std::to_string(view.tries_digit) + ", figure stage " + std::to_string(view.figure_stage);
}

// The secret word of a game, known from the random number the word bank drew
// and the length of the word row; narrowed down, frame by frame, to the words
// whose game matches what is drawn. Games may follow each other without a
// frame of another screen between them (a batch holding a key for the end
// picture and presses on Start and a level), so a new game is known by a new
// draw of the word bank.
class GameModel {
public:
    bool new_game() const { return hooks::random().rand_calls != draws_seen_; }

    void start(size_t length)
    {
        draws_seen_ = hooks::random().rand_calls;
        words_.clear();
        const int slot = hooks::random().last_rand % words_per_level;
        for (const char* const* level : {easy_words, med_words, hard_words}) {
            if (std::string(level[slot]).size() == length) {
                words_.emplace_back(level[slot]);
            }
        }
    }

    // The words still possible after this frame; empty means no word fits.
    std::string check(const GameView& drawn)
    {
        std::string mismatch;
        std::vector<std::string> fitting;
        for (const std::string& word : words_) {
            const GameView expected = expected_game(word, drawn.guessed);
            const bool fits = expected.word_row == drawn.word_row &&
                              expected.tries_digit == drawn.tries_digit &&
                              expected.figure_stage == drawn.figure_stage;
            if (fits) {
                fitting.push_back(word);
            } else if (mismatch.empty()) {
                mismatch = "the word \"" + word + "\" gives " + describe(expected);
            }
        }
        words_ = fitting;
        if (words_.empty() && mismatch.empty()) {
            mismatch = "no word of the level lists has that length";
        }
        return words_.empty() ? mismatch : std::string();
    }

private:
    std::vector<std::string> words_;
    int draws_seen_ = 0;
};

// Checks one frame against the rules; counts games and frames. The game's
// console output is captured while it runs, so the first broken rule is kept
// and reported afterwards, and checking stops there.
class FrameRules {
public:
    void check(const Frame& frame)
    {
        ++frames_;
        if (!first_failure_.empty() || frame.copies.empty()) {
            return;  // an empty frame: the extra present after a close request in a game
        }
        const SDL_Texture* background = frame.copies.front().texture;
        const bool game = background == game_screen_texture.sdl_texture;
        require(frame.shown || harness::extra_quits() > 0, "drawn while the window was away");
        if (game && model_.new_game()) {
            ++games_;
            model_.start(read_game(frame).word_row.size());
        }
        in_game_ = game;

        int stage = -1;
        int digit = -1;
        std::set<int> guessed;
        for (const Copy& copy : frame.copies) {
            check_clip(copy, stage, digit, guessed);
        }
        if (game) {
            require(digit >= 0 && digit <= 6, "tries digit " + std::to_string(digit));
            require(6 - digit == stage, "figure stage " + std::to_string(stage) +
                                            " against tries " + std::to_string(digit));
            const GameView drawn = read_game(frame);
            const std::string mismatch = model_.check(drawn);
            require(mismatch.empty(), "drawn " + describe(drawn) + ", but " + mismatch);
        }
    }

    unsigned long long frames() const { return frames_; }
    unsigned long long games() const { return games_; }
    const std::string& first_failure() const { return first_failure_; }

private:
    void require(bool holds, const std::string& what)
    {
        if (!holds && first_failure_.empty()) {
            first_failure_ = "frame " + std::to_string(frames_) + ": " + what;
        }
    }

    void check_clip(const Copy& copy, int& stage, int& digit, std::set<int>& guessed)
    {
        if (copy.texture == alpha_texture.sdl_texture) {
            require(copy.has_clip, "letters sheet drawn whole");
            if (copy.clip.x == 47) {
                const int letter = index_in(small_letter_clips, copy.clip);
                require(letter != -1, "small letter clip outside its table");
                require(!in_game_ || guessed.insert(letter).second,
                        "guessed letter " + std::to_string(letter) + " repeated");
            } else if (copy.clip.x == 57) {
                digit = index_in(digit_clips, copy.clip);
                require(digit != -1, "digit clip outside its table");
            } else {
                require(index_in(letter_clips, copy.clip) != -1, "letter clip outside its table");
            }
        } else if (copy.texture == hung_boi_texture.sdl_texture) {
            stage = index_in(hung_boi_clips, copy.clip);
            require(stage != -1, "figure clip outside its table");
        } else {
            for (const Button* b : {&start_button, &options_button, &easy_button, &med_button,
                                    &hard_button, &back_button, &dev_mode_button}) {
                if (copy.texture == b->sheet->sdl_texture) {
                    require(copy.has_clip, "a button drawn as its whole sheet");
                    const SDL_Rect* pair =
                        b->idle_clip < b->hover_clip ? b->idle_clip : b->hover_clip;
                    require(same(copy.clip, pair[0]) || same(copy.clip, pair[1]),
                            "button clip outside its pair");
                }
            }
        }
    }

    unsigned long long frames_ = 0;
    unsigned long long games_ = 0;
    bool in_game_ = false;
    GameModel model_;
    std::string first_failure_;
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
    hooks::window_minimised() = false;

    std::cout << "random session: " << input.events() << " events, " << rules.games() << " games, "
              << rules.frames() << " frames, seed " << seed << std::endl;
    EXPECT_EQ("", rules.first_failure()) << "replay with HANGMAN_RANDOM_SEED=" << seed;
    EXPECT_GT(rules.frames(), batches / 2);
}

}  // namespace
