// One game played key by key through the real game loop: the console lines,
// and what every frame draws (figure, tries digit, guessed letters, the word
// row, the selection box, the end pictures).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/play.hpp"
#include "gfx/media.hpp"
#include "support/game_view.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

using harness::Batch;
using harness::Frame;
using harness::GameView;
using harness::read_game;

namespace {

// Keys as text: letters are letter keys, ' ' Space, '<' Backspace, '#' the
// 1 key (neither a letter nor an action).
Batch keys(const std::string& text)
{
    Batch batch;
    for (char ch : text) {
        SDL_Keycode sym = ch;
        if (ch == '<') {
            sym = SDLK_BACKSPACE;
        } else if (ch == '#') {
            sym = SDLK_1;
        }
        batch.push_back(harness::key(sym));
    }
    return batch;
}

Batch join(Batch first, const Batch& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class GameTest : public harness::GameTest {
protected:
    // Plays `word` with the scripted batches; returns play_game's result.
    bool play(const std::string& word, std::vector<Batch> script)
    {
        harness::run_script(std::move(script));
        harness::CapturedStdout out;
        const bool quit = play_game(word);
        console = out.text();
        return quit;
    }

    GameView frame(size_t n) const
    {
        EXPECT_LT(n, harness::frames().size()) << "frame " << n << " was never presented";
        return n < harness::frames().size() ? read_game(harness::frames()[n]) : GameView{};
    }

    std::string console;
};

TEST_F(GameTest, AWonGameKeyByKey)
{
    dev_mode = true;
    const bool quit =
        play("room", {keys("r "), keys("o "), keys("x "), keys("m"), keys(" "), keys("q")});
    EXPECT_FALSE(quit) << "a key on the win picture goes back to the menu";
    EXPECT_EQ(
        "word = room\nword_length = 4"
        "letter is in word!\ntrys_remaining = 6\n"
        "letter is in word!\nletter is in word!\ntrys_remaining = 6\n"
        "trys_remaining = 5\n"
        "letter is in word!\ntrys_remaining = 5\n",
        console);

    struct Expected {
        const char* row;
        const char* guessed;
        int stage;
        int digit;
        char selection;
    };
    const Expected expected[] = {
        {"r___", "r", 0, 6, '_'},   {"roo_", "ro", 0, 6, '_'},   {"roo_", "rox", 1, 5, '_'},
        {"roo_", "rox", 1, 5, 'm'}, {"room", "roxm", 1, 5, '_'},
    };
    ASSERT_EQ(5u, harness::frames().size());
    for (size_t n = 0; n < 5; ++n) {
        const GameView view = frame(n);
        SCOPED_TRACE("frame " + std::to_string(n));
        EXPECT_EQ(expected[n].row, view.word_row);
        EXPECT_EQ(expected[n].guessed, view.guessed);
        EXPECT_EQ(expected[n].stage, view.figure_stage);
        EXPECT_EQ(expected[n].digit, view.tries_digit);
        EXPECT_EQ(expected[n].selection, view.selection);
        EXPECT_EQ(n == 4, view.win_shown);
        EXPECT_FALSE(view.lose_shown);
    }
    EXPECT_EQ((std::vector<int>{228, 274, 320, 366}), frame(0).word_row_x);
    EXPECT_EQ(win_screen_texture.sdl_texture, harness::frames()[4].copies.back().texture)
        << "the win picture is drawn over the last frame";
}

TEST_F(GameTest, ALostGameKeyByKey)
{
    dev_mode = true;
    std::vector<Batch> script;
    for (char wrong : std::string("bcdefg")) {
        script.push_back(keys(std::string(1, wrong) + " "));
    }
    script.push_back(keys("a"));
    EXPECT_FALSE(play("jazz", script));
    EXPECT_EQ(
        "word = jazz\nword_length = 4trys_remaining = 5\ntrys_remaining = 4\n"
        "trys_remaining = 3\ntrys_remaining = 2\ntrys_remaining = 1\ntrys_remaining = 0\n",
        console);
    ASSERT_EQ(6u, harness::frames().size());
    for (size_t n = 0; n < 6; ++n) {
        const GameView view = frame(n);
        EXPECT_EQ(int(n) + 1, view.figure_stage) << "frame " << n;
        EXPECT_EQ(5 - int(n), view.tries_digit) << "frame " << n;
        EXPECT_EQ("____", view.word_row) << "frame " << n;
        EXPECT_EQ(n == 5, view.lose_shown) << "frame " << n;
        EXPECT_FALSE(view.win_shown) << "frame " << n;
    }
    EXPECT_EQ(33 + 20 * 5, frame(5).guessed_at[5].x);
    EXPECT_EQ(55, frame(5).guessed_at[5].y);
}

TEST_F(GameTest, GuessedLettersFillRowsOfTen)
{
    // "comprehensive" has eleven distinct letters: the eleventh starts row two.
    EXPECT_FALSE(play("comprehensive", {keys("c o m p r e h n s i v "), keys("q")}));
    const GameView view = frame(0);
    EXPECT_TRUE(view.win_shown);
    ASSERT_EQ(11u, view.guessed_at.size());
    EXPECT_EQ(33, view.guessed_at[0].x);
    EXPECT_EQ(213, view.guessed_at[9].x) << "the tenth letter";
    EXPECT_EQ(55, view.guessed_at[9].y);
    EXPECT_EQ(33, view.guessed_at[10].x) << "the eleventh letter";
    EXPECT_EQ(75, view.guessed_at[10].y);
    EXPECT_EQ(21, view.word_row_x[0]) << "thirteen letters start at x 21";
    EXPECT_EQ("", console) << "nothing is printed outside developer mode";
}

TEST_F(GameTest, NoGameLineIsPrintedOutsideDeveloperMode)
{
    struct Case {
        const char* name;
        std::vector<Batch> script;
    };
    const std::vector<Case> cases = {
        {"won, with hits, misses and repeats", {keys("r r x x o m "), keys("q")}},
        {"lost, with repeats after the end", {keys("a b c d r r e f "), keys("q")}},
        {"closed halfway", {keys("r q q "), {harness::quit()}}},
    };
    for (const Case& c : cases) {
        play("room", c.script);
        EXPECT_EQ("", console) << c.name;
        harness::flush_events();
    }
}

TEST_F(GameTest, EveryLetterCanBeChosenAndGuessed)
{
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    std::vector<Batch> script;
    for (char letter : alphabet) {
        script.push_back(keys(std::string(1, letter)));
        script.push_back(keys(" "));
    }
    script.push_back(keys("q"));
    EXPECT_FALSE(play(alphabet, script));

    ASSERT_EQ(52u, harness::frames().size());
    for (size_t n = 0; n < alphabet.size(); ++n) {
        const char letter = alphabet[n];
        EXPECT_EQ(letter, frame(2 * n).selection) << "the box after typing " << letter;
        const GameView guessed = frame(2 * n + 1);
        EXPECT_EQ(alphabet.substr(0, n + 1), guessed.guessed) << "after guessing " << letter;
        EXPECT_EQ(letter, guessed.word_row[n]) << "the word row after guessing " << letter;
        EXPECT_EQ(6, guessed.tries_digit) << "after guessing " << letter;
    }
    EXPECT_TRUE(frame(51).win_shown);
}

TEST_F(GameTest, RepeatsCostNothing)
{
    dev_mode = true;
    play("room", {keys("r r q q "), {harness::quit()}});
    EXPECT_EQ(
        "word = room\nword_length = 4letter is in word!\ntrys_remaining = 6\n"
        "repeat letter!\ntrys_remaining = 6\n"
        "trys_remaining = 5\n"
        "repeat letter!\ntrys_remaining = 5\n",
        console);
    EXPECT_EQ("rq", frame(0).guessed);
    EXPECT_EQ(1, frame(0).figure_stage);
}

TEST_F(GameTest, SelectionTakesOneLetterUntilClearedOrSubmitted)
{
    struct Case {
        const char* typed;
        const char* guessed;
        char selection;
    };
    const Case cases[] = {
        {"qx ", "q", '_'},   // a second letter does not replace the first
        {"q<x ", "x", '_'},  // Backspace clears the choice
        {" <", "", '_'},     // Space and Backspace with nothing chosen
        {"q", "", 'q'},      // chosen, not yet submitted
        {"#q ", "q", '_'},   // other keys do nothing
        {"q# ", "q", '_'},
    };
    dev_mode = true;
    for (const Case& c : cases) {
        play("frog", {keys(c.typed), {harness::quit()}});
        const GameView view = frame(0);
        EXPECT_EQ(c.guessed, view.guessed) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(c.selection, view.selection) << "typed \"" << c.typed << "\"";
    }
}

TEST_F(GameTest, AutoRepeatedKeysCountLikePresses)
{
    play("frog", {{harness::key(SDLK_f, true), harness::key(SDLK_SPACE, true)}, {harness::quit()}});
    EXPECT_EQ("f___", frame(0).word_row);
}

TEST_F(GameTest, TwoWrongLettersInTheLastFrameStopAtZeroTries)
{
    dev_mode = true;
    play("jazz", {keys("b c d e f "), keys("g h "), keys("q")});
    EXPECT_EQ(
        "word = jazz\nword_length = 4trys_remaining = 5\ntrys_remaining = 4\n"
        "trys_remaining = 3\ntrys_remaining = 2\ntrys_remaining = 1\n"
        "trys_remaining = 0\ntrys_remaining = 0\n",
        console);
    const GameView last = frame(1);
    EXPECT_EQ(6, last.figure_stage);
    EXPECT_EQ(0, last.tries_digit);
    EXPECT_EQ("bcdefgh", last.guessed) << "a wrong letter is still listed";
    EXPECT_TRUE(last.lose_shown);
}

TEST_F(GameTest, ACompleteWordWinsEvenWithNoTryLeft)
{
    play("ab", {keys("c d e f g "), keys("h a b "), keys("q")});
    const GameView last = frame(1);
    EXPECT_EQ(0, last.tries_digit);
    EXPECT_EQ("ab", last.word_row);
    EXPECT_TRUE(last.win_shown);
    EXPECT_FALSE(last.lose_shown);
}

TEST_F(GameTest, CloseRequestsEndTheGameAfterOneMoreFrame)
{
    struct Case {
        const char* name;
        Batch last_batch;
        size_t frames;
        bool win_shown;
    };
    const std::vector<Case> cases = {
        {"while playing", {harness::quit(), harness::key(SDLK_r)}, 1, false},
        {"in the frame of the winning letter", join(keys("r o m "), {harness::quit()}), 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int waits = hooks::wait_event_calls();
        EXPECT_TRUE(play("room", {c.last_batch}));
        ASSERT_EQ(c.frames, harness::frames().size()) << "frames presented";
        EXPECT_EQ(c.win_shown, frame(0).win_shown);
        EXPECT_EQ(waits, hooks::wait_event_calls()) << "no wait for a key after a close request";
        harness::flush_events();
    }
}

TEST_F(GameTest, TheEndPictureWaitsForAKeyOrACloseRequest)
{
    struct Case {
        const char* name;
        Batch during_wait;
        bool quit;
    };
    const std::vector<Case> cases = {
        {"clicks, then a key",
         {harness::press(300, 300), harness::release(300, 300), harness::move_to(10, 10),
          keys("x")[0]},
         false},
        {"clicks, then a close request", {harness::press(300, 300), harness::quit()}, true},
        {"an auto-repeated key", {harness::key(SDLK_SPACE, true)}, false},
        {"modifiers alone, then a close request",
         {harness::key(SDLK_LSHIFT), harness::key(SDLK_RCTRL), harness::key(SDLK_LALT),
          harness::key(SDLK_RGUI), harness::key(SDLK_CAPSLOCK), harness::key(SDLK_MODE),
          harness::key(SDLK_NUMLOCKCLEAR), harness::quit()},
         true},
        {"a modifier, then a key with it",
         {harness::key(SDLK_LSHIFT), harness::key(SDLK_q, false, KMOD_LSHIFT)},
         false},
        {"a controller's button", {harness::controller_button(SDL_CONTROLLER_BUTTON_Y)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.quit,
                  play("frog", {{harness::plug_in_controller()}, keys("f r o g "), c.during_wait}));
        EXPECT_EQ(2u, harness::frames().size()) << "nothing is drawn while waiting";
        EXPECT_EQ(0, harness::extra_quits());
        harness::flush_events();
    }
}

TEST_F(GameTest, AnyStringIsSafeToPlay)
{
    struct Case {
        const char* name;
        std::string word;
        Batch input;
        bool win_shown;
        std::string row;
    };
    const std::vector<Case> cases = {
        {"empty", "", {}, true, ""},
        {"not only letters", "a-B", keys("a b "), false, "a__"},
        {"bytes above 127", "\xe9t\xe9", keys("t "), false, "_t_"},
        {"longer than a hundred", std::string(150, 'a'), keys("a "), true, std::string(150, 'a')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        play(c.word, {c.input, {harness::quit()}});
        const GameView view = frame(0);
        EXPECT_EQ(c.win_shown, view.win_shown);
        EXPECT_EQ(c.row, view.word_row);
        harness::flush_events();
    }
}

}  // namespace
