// The difficulty and options screens driven frame by frame: which button an
// event reaches, their looks and lines, Back and close requests, and the
// developer-mode switch.
#include <gtest/gtest.h>

#include <string>

#include "app/app.hpp"
#include "gfx/media.hpp"
#include "screens/difficulty.hpp"
#include "screens/options.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

using harness::Batch;
using harness::Frame;

namespace {

int copies_from(const Frame& frame, const Texture& texture)
{
    int count = 0;
    for (const harness::Copy& copy : frame.copies) {
        count += copy.texture == texture.sdl_texture ? 1 : 0;
    }
    return count;
}

// The clip a texture was drawn with in a frame (the first copy of it).
SDL_Rect clip_of(const Frame& frame, const Texture& texture)
{
    for (const harness::Copy& copy : frame.copies) {
        if (copy.texture == texture.sdl_texture) {
            return copy.clip;
        }
    }
    ADD_FAILURE() << "nothing drawn from that texture";
    return {};
}

class ScreenTest : public harness::GameTest {
protected:
    // Runs a screen with the script; returns its result and keeps the text.
    bool run(bool (*screen)(), std::vector<Batch> script)
    {
        harness::run_script(std::move(script));
        harness::CapturedStdout out;
        const bool quit = screen();
        console = out.text();
        return quit;
    }

    std::string console;
};

TEST_F(ScreenTest, EachLevelButtonPlaysOneGameOfItsLevel)
{
    struct Case {
        int x;
        int y;
        Uint8 mouse_button;
        const char* line;
        const char* word;
    };
    const Case cases[] = {
        {300, 230, SDL_BUTTON_LEFT, "easy button has been pressed.\n", "frog"},
        {440, 260, SDL_BUTTON_RIGHT, "easy button has been pressed.\n", "frog"},  // far corner
        {200, 280, SDL_BUTTON_MIDDLE, "med button has been pressed.\n", "notepad"},
        {300, 420, SDL_BUTTON_LEFT, "hard button has been pressed.\n", "dictionary"},
    };
    dev_mode = true;
    hooks::random().fixed_rand = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Batch guesses;
        for (char letter : std::string(c.word)) {
            guesses.push_back(harness::key(letter));
            guesses.push_back(harness::key(SDLK_SPACE));
        }
        const bool quit =
            run(run_difficulty_screen,
                {{harness::press(c.x, c.y, c.mouse_button)}, guesses, {harness::key(SDLK_x)}});
        EXPECT_FALSE(quit) << "the result of the won game";
        const std::string header = std::string(c.line) + "word = " + c.word;
        EXPECT_EQ(header, console.substr(0, header.size()));
        ASSERT_EQ(2u, harness::frames().size()) << "two game frames, no screen frame after them";
        EXPECT_EQ(1, copies_from(harness::frames()[1], win_screen_texture));
    }
}

TEST_F(ScreenTest, AGameClosedFromInsideEndsTheScreenWithTrue)
{
    EXPECT_TRUE(run(run_difficulty_screen, {{harness::press(300, 300)}, {harness::quit()}}));
    ASSERT_EQ(2u, harness::frames().size());
    EXPECT_EQ(1, copies_from(harness::frames()[1], game_screen_texture)) << "last frame";
    EXPECT_EQ("", console) << "nothing printed outside developer mode";
}

TEST_F(ScreenTest, BackAndCloseOnTheDifficultyScreen)
{
    struct Case {
        const char* name;
        Batch batch;
        bool quit;
        size_t frames;
        const char* console;
    };
    const std::vector<Case> cases = {
        {"Back", {harness::press(632, 52)}, false, 1, "back button has been pressed.\n"},
        {"close", {harness::quit(), harness::press(300, 230)}, true, 0, ""},
        {"Back, then close",
         {harness::press(600, 20), harness::quit()},
         true,
         0,
         "back button has been pressed.\n"},
        {"Back, then a level",
         {harness::press(600, 20), harness::press(300, 300), harness::key(SDLK_a)},
         true,
         2,
         "back button has been pressed.\nmed button has been pressed.\n"},
    };
    dev_mode = true;
    hooks::random().fixed_rand = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.quit, run(run_difficulty_screen, {c.batch}));
        EXPECT_EQ(c.frames, harness::frames().size());
        EXPECT_EQ(c.console, console.substr(0, std::string(c.console).size()));
        harness::flush_events();
    }
}

TEST_F(ScreenTest, DifficultyButtonsShowHoverOnlyUnderThePointer)
{
    run(run_difficulty_screen, {{harness::move_to(300, 290)},
                                {harness::key(SDLK_a)},
                                {harness::move_to(606, 26)},
                                {harness::press(606, 26)}});
    ASSERT_EQ(4u, harness::frames().size());
    const Texture* sheets[] = {&easy_button_texture, &med_button_texture, &hard_button_texture};
    const int hover_rows[4][3] = {{0, 60, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    for (size_t f = 0; f < 4; ++f) {
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(hover_rows[f][b], clip_of(harness::frames()[f], *sheets[b]).y)
                << "button " << b << " in frame " << f;
        }
    }
    EXPECT_EQ(52, clip_of(harness::frames()[2], back_button_texture).y) << "Back under pointer";
    EXPECT_EQ(0, clip_of(harness::frames()[1], back_button_texture).y);
}

TEST_F(ScreenTest, NoInvisibleButtonsBeforeAScreensFirstFrame)
{
    // Before their screens first drew, the level buttons and the switch used
    // to wait at (0, 0); a click in the top-left corner must hit nothing.
    EXPECT_FALSE(
        run(run_difficulty_screen, {{harness::press(100, 30)}, {harness::press(600, 20)}}));
    EXPECT_EQ(2u, harness::frames().size()) << "no game was started";
    EXPECT_FALSE(run(run_options_screen, {{harness::press(20, 10)}, {harness::press(600, 20)}}));
    EXPECT_FALSE(dev_mode);
    EXPECT_EQ("", console);
}

TEST_F(ScreenTest, TheSwitchTogglesDeveloperModeAndShowsIt)
{
    struct Step {
        Batch input;
        const char* console;
        bool dev_mode_after;
        int switch_clip_y;  // 0 the off look, 24 the on look
    };
    const std::vector<Step> steps = {
        {{harness::move_to(100, 100)}, "", false, 0},
        {{harness::move_to(230, 360)}, "", false, 24},  // under the pointer: what a press brings
        {{harness::press(230, 360)}, "dev_mode turned on.\n", true, 24},
        {{harness::key(SDLK_a)}, "", true, 24},
        {{harness::move_to(231, 361)}, "", true, 0},
        {{harness::press(252, 380)}, "dev_mode turned off.\n", false, 0},
        {{harness::press(230, 360), harness::press(230, 360)},
         "dev_mode turned on.\ndev_mode turned off.\n",
         false,
         0},
        {{harness::move_to(400, 200)}, "", false, 0},
    };
    for (const Step& step : steps) {
        const size_t n = &step - &steps[0];
        SCOPED_TRACE("step " + std::to_string(n));
        run(run_options_screen, {step.input, {harness::press(600, 20)}});
        EXPECT_EQ(std::string(step.console) +
                      (step.dev_mode_after ? "back button has been pressed.\n" : ""),
                  console);
        EXPECT_EQ(step.dev_mode_after, dev_mode);
        ASSERT_EQ(2u, harness::frames().size());
        const SDL_Rect clip = clip_of(harness::frames()[0], dev_mode_button_texture);
        EXPECT_EQ(step.switch_clip_y, clip.y);
        EXPECT_EQ(26, clip.h);
        harness::flush_events();
    }
}

TEST_F(ScreenTest, BackAndCloseOnTheOptionsScreen)
{
    struct Case {
        const char* name;
        bool dev_mode_before;
        Batch batch;
        bool quit;
        size_t frames;
        const char* console;
    };
    const std::vector<Case> cases = {
        {"Back, developer mode off", false, {harness::press(580, 0)}, false, 1, ""},
        {"Back, developer mode on",
         true,
         {harness::press(580, 0)},
         false,
         1,
         "back button has been pressed.\n"},
        {"switch off, then Back",
         true,
         {harness::press(230, 360), harness::press(600, 20)},
         false,
         1,
         "dev_mode turned off.\n"},
        {"switch on, then Back",
         false,
         {harness::press(230, 360), harness::press(600, 20)},
         false,
         1,
         "dev_mode turned on.\nback button has been pressed.\n"},
        {"Back, then the switch",
         false,
         {harness::press(600, 20), harness::press(230, 360)},
         false,
         1,
         "dev_mode turned on.\n"},
        {"close", true, {harness::quit()}, true, 0, ""},
        {"Back, then close",
         true,
         {harness::press(600, 20), harness::quit()},
         true,
         0,
         "back button has been pressed.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dev_mode = c.dev_mode_before;
        EXPECT_EQ(c.quit, run(run_options_screen, {c.batch}));
        EXPECT_EQ(c.frames, harness::frames().size());
        EXPECT_EQ(c.console, console);
        harness::flush_events();
    }
}

TEST_F(ScreenTest, DeveloperModeOutlivesTheScreenAndAGameAndShowsTheOverlay)
{
    hooks::random().fixed_rand = 3;
    harness::run_script({
        {harness::press(400, 380)},  // Options
        {harness::press(230, 360)},  // developer mode on
        {harness::press(600, 20)},   // Back
        {},                          // a menu frame
        {harness::press(100, 380)},  // Start
        {harness::press(300, 230)},  // Easy: "list"
        {harness::key(SDLK_l), harness::key(SDLK_SPACE)},
        {harness::quit()},  // closes from the game
    });
    std::string text;
    {
        harness::CapturedStdout out;
        run_main_menu();
        text = out.text();
    }
    EXPECT_EQ(
        "dev_mode turned on.\nback button has been pressed.\n"
        "start button has been pressed.\neasy button has been pressed.\n"
        "word = list\nword_length = 4letter is in word!\ntrys_remaining = 6\n",
        text.substr(text.find("dev_mode")));
    EXPECT_TRUE(dev_mode);
    const auto& frames = harness::frames();
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(1, copies_from(frames[3], menu_screen_texture));
    EXPECT_EQ(3, copies_from(frames[3], alpha_texture)) << "the overlay, right after Options";
    EXPECT_EQ(1, copies_from(frames.back(), menu_screen_texture)) << "one menu frame at the end";
}

}  // namespace
