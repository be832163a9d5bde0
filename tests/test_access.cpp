// Play without a mouse, through the real screen loops: keys and a game
// controller (one of SDL's virtual joysticks) move the focus and press the
// menus' buttons as a click at their centre would, the focus ring shows
// only while they are in use, and a stand-in speech server hears what the
// game says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "access/focus.hpp"
#include "access/speech.hpp"
#include "app/app.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "screens/difficulty.hpp"
#include "screens/options.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"
#include "support/speech_server.hpp"

using namespace hangman;

using harness::Batch;
using harness::Frame;

namespace {

using Screen = bool (*)();
bool main_menu()
{
    run_main_menu();
    return true;
}

harness::Action key(SDL_Keycode sym, Uint16 modifiers = KMOD_NONE)
{
    return harness::key(sym, false, modifiers);
}

Batch letters(const std::string& text)
{
    Batch batch;
    for (char ch : text) {
        batch.push_back(key(ch == '<' ? SDL_Keycode{SDLK_BACKSPACE} : SDL_Keycode{ch}));
    }
    return batch;
}

class AccessTest : public harness::GameTest {
protected:
    // Runs a screen with the script in developer mode; returns its result,
    // keeps the console and the background picture of every frame.
    bool run(Screen screen, std::vector<Batch> script)
    {
        dev_mode = true;
        hooks::random().fixed_rand = 0;
        show_focus(false);  // as at the start of the program
        harness::run_script(std::move(script));
        harness::CapturedStdout out;
        const bool quit = screen();
        console = out.text();
        shown.clear();
        for (const Frame& frame : harness::frames()) {
            shown.push_back(frame.copies.empty() ? nullptr : frame.copies.front().texture);
        }
        harness::flush_events();
        return quit;
    }

    std::string console;
    std::vector<SDL_Texture*> shown;
};

TEST_F(AccessTest, KeysAndControllersPressAsAClickAtTheButtonsCentre)
{
    using harness::controller_button;
    struct Case {
        const char* name;
        Screen screen;
        Batch keys;  // they reach the button and press it
        SDL_Point centre;
    };
    const Case cases[] = {
        {"Enter on the main menu", main_menu, {key(SDLK_RETURN)}, {180, 390}},
        {"Space on the main menu", main_menu, {key(SDLK_SPACE)}, {180, 390}},
        {"Tab to Options",
         main_menu,
         {key(SDLK_TAB), key(SDLK_TAB), key(SDLK_KP_ENTER)},
         {460, 390}},
        {"right to Options",
         main_menu,
         {key(SDLK_RIGHT), key(SDLK_RIGHT), key(SDLK_RETURN)},
         {460, 390}},
        {"down to Hard",
         run_difficulty_screen,
         {key(SDLK_DOWN), key(SDLK_DOWN), key(SDLK_DOWN), key(SDLK_DOWN), key(SDLK_SPACE)},
         {320, 390}},
        {"up to Back",
         run_difficulty_screen,
         {key(SDLK_UP), key(SDLK_UP), key(SDLK_RETURN)},
         {606, 26}},
        {"Shift+Tab round to Back",
         run_difficulty_screen,
         {key(SDLK_TAB), key(SDLK_TAB, KMOD_LSHIFT), key(SDLK_SPACE)},
         {606, 26}},
        {"right Shift+Tab round to Back",
         run_difficulty_screen,
         {key(SDLK_TAB), key(SDLK_TAB, KMOD_RSHIFT), key(SDLK_SPACE)},
         {606, 26}},
        {"Tab round from Back to Easy",
         run_difficulty_screen,
         {key(SDLK_TAB), key(SDLK_TAB), key(SDLK_TAB), key(SDLK_TAB), key(SDLK_TAB),
          key(SDLK_RETURN)},
         {320, 230}},
        {"Escape for Back", run_difficulty_screen, {key(SDLK_ESCAPE)}, {606, 26}},
        {"Enter on the switch", run_options_screen, {key(SDLK_RETURN)}, {231, 367}},
        {"right from the switch to Back",
         run_options_screen,
         {key(SDLK_RIGHT), key(SDLK_RIGHT), key(SDLK_RETURN)},
         {606, 26}},
        {"a controller's A", main_menu, {controller_button(SDL_CONTROLLER_BUTTON_A)}, {180, 390}},
        {"the D-pad to Medium",
         run_difficulty_screen,
         {controller_button(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
          controller_button(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
          controller_button(SDL_CONTROLLER_BUTTON_A)},
         {320, 310}},
        {"the stick to Medium",
         run_difficulty_screen,
         {harness::controller_stick(0, 32767), harness::controller_stick(0, 30000),
          harness::controller_stick(0, 0), harness::controller_stick(0, 20000),
          controller_button(SDL_CONTROLLER_BUTTON_A)},
         {320, 310}},
        {"the stick wobbling between a quarter and a half of its travel",
         run_difficulty_screen,
         {harness::controller_stick(0, 0), harness::controller_stick(0, 20000),
          harness::controller_stick(0, 0), harness::controller_stick(0, 20000),
          harness::controller_stick(0, 10000), harness::controller_stick(0, 20000),
          harness::controller_stick(0, 10000), harness::controller_stick(0, 20000),
          controller_button(SDL_CONTROLLER_BUTTON_A)},
         {320, 310}},
        {"a controller's B",
         run_options_screen,
         {controller_button(SDL_CONTROLLER_BUTTON_B)},
         {606, 26}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const harness::Action plug_in = harness::plug_in_controller();
        const bool clicked =
            run(c.screen, {{plug_in}, {harness::press(c.centre.x, c.centre.y)}, {}});
        const std::string clicked_console = console;
        const std::vector<SDL_Texture*> clicked_screens = shown;
        Batch moves(c.keys.begin(), c.keys.end() - 1);
        EXPECT_EQ(clicked, run(c.screen, {{plug_in}, moves, {c.keys.back()}, {}}));
        EXPECT_EQ(clicked_console, console);
        EXPECT_FALSE(console.empty());
        // The moves take a frame of their own; from then on the same screens.
        ASSERT_EQ(clicked_screens.size() + 1, shown.size());
        EXPECT_EQ(clicked_screens.front(), shown.front());
        EXPECT_EQ(clicked_screens, std::vector<SDL_Texture*>(shown.begin() + 1, shown.end()));
    }
}

// The colour of the picture's pixel (x, y) in a frame.
Uint32 pixel(const Frame& frame, int x, int y)
{
    return frame.pixels.at(static_cast<size_t>(y * frame.width + x)) & 0xFFFFFF;
}

constexpr Uint32 ring = 0xF2B134;

// True when the frame shows the ring around any button: a pixel of the ring
// a little way left of it, and none in the gap between (as there would be in
// another button's orange look drawn there).
bool any_ring(const Frame& frame)
{
    for (const Button* button : {&start_button, &options_button, &easy_button, &med_button,
                                 &hard_button, &back_button, &dev_mode_button}) {
        const int y = button->y + button->height / 2;
        if (pixel(frame, button->x - 4, y) == ring && pixel(frame, button->x - 1, y) != ring) {
            return true;
        }
    }
    return false;
}

TEST_F(AccessTest, OtherKeysAndButtonsPressNothing)
{
    const struct {
        const char* name;
        Screen screen;
        Batch keys;
    } cases[] = {
        {"Escape on the main menu", main_menu, {key(SDLK_ESCAPE), key(SDLK_ESCAPE)}},
        {"held keys", main_menu, {harness::key(SDLK_RETURN, true), harness::key(SDLK_SPACE, true)}},
        {"letters, Backspace, Shift", run_options_screen, letters("ax<")},
        {"Alt+Enter, F11, F2",
         main_menu,
         {key(SDLK_RETURN, KMOD_LALT), key(SDLK_F11), key(SDLK_F2)}},
        {"B on the main menu, X and Y",
         main_menu,
         {harness::controller_button(SDL_CONTROLLER_BUTTON_B),
          harness::controller_button(SDL_CONTROLLER_BUTTON_X),
          harness::controller_button(SDL_CONTROLLER_BUTTON_BACK)}},
    };
    harness::capture_pixels(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        run(c.screen, {{harness::plug_in_controller()}, c.keys, {}});
        EXPECT_EQ("", console);
        EXPECT_EQ(std::vector<SDL_Texture*>(shown.size(), shown.front()), shown)
            << "another screen";
        for (const Frame& frame : harness::frames()) {
            EXPECT_FALSE(any_ring(frame)) << "a ring";
        }
    }
    harness::capture_pixels(false);
}

// As the program starts, with no run() to put the ring away first: a mouse
// player who clicks where the pointer already is (no motion) never sees it.
TEST_F(AccessTest, ScreensFirstFramesHaveNoRingBeforeAKey)
{
    const auto click = [](int x, int y) {
        return Batch{harness::place_pointer(x, y), harness::press(x, y)};
    };
    harness::capture_pixels(true);
    harness::run_script({{}, click(180, 390), {}, click(606, 26), {}, click(460, 390), {}});
    run_main_menu();
    harness::capture_pixels(false);
    ASSERT_GE(harness::frames().size(), 7u);
    for (const Frame& frame : harness::frames()) {
        EXPECT_FALSE(any_ring(frame)) << harness::describe(frame);
    }
}

TEST_F(AccessTest, AControllerPulledOutIsClosedOnceAndNeverAgainAtShutdown)
{
    std::vector<const void*>& closed = hooks::controllers_closed();
    closed.clear();
    run(main_menu, {{harness::plug_in_controller()}, {}, {harness::pull_out_controller()}, {}});
    ASSERT_EQ(1u, closed.size()) << "closed when pulled out";
    close();
    EXPECT_EQ(1u, closed.size()) << "and never again at shutdown";
}

TEST_F(AccessTest, TheRingShowsFromTheFirstNavigationKeyUntilThePointerMoves)
{
    const struct {
        Batch input;
        bool around_start;  // a ring 4 pixels left of Start, and of Options
        bool around_options;
    } steps[] = {
        {{}, false, false},
        {{harness::move_to(300, 300), harness::press(10, 10)}, false, false},
        {{key(SDLK_TAB)}, true, false},
        {{key(SDLK_RIGHT)}, false, true},
        {{key(SDLK_DOWN)}, false, true},
        {{harness::move_to(301, 300)}, false, false},
        {{key(SDLK_LEFT)}, false, true},
    };
    std::vector<Batch> script;
    for (const auto& step : steps) {
        script.push_back(step.input);
    }
    harness::capture_pixels(true);
    run(main_menu, script);
    harness::capture_pixels(false);
    ASSERT_GE(harness::frames().size(), std::size(steps));
    for (size_t n = 0; n < std::size(steps); ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        const Frame& frame = harness::frames()[n];
        EXPECT_EQ(steps[n].around_start, pixel(frame, 55, 390) == ring);
        EXPECT_EQ(steps[n].around_options, pixel(frame, 335, 390) == ring);
    }
}

TEST_F(AccessTest, TheRingIsWholeOnEverySideWithItsHaloInsideThePicture)
{
    const struct {
        const char* name;
        Screen screen;
        Batch keys;
        const Button* button;
    } cases[] = {
        {"Start", main_menu, {key(SDLK_TAB)}, &start_button},
        {"Options", main_menu, {key(SDLK_TAB), key(SDLK_TAB)}, &options_button},
        {"Easy", run_difficulty_screen, {key(SDLK_TAB)}, &easy_button},
        {"the switch", run_options_screen, {key(SDLK_TAB)}, &dev_mode_button},
        {"Back, by the top edge", run_options_screen, {key(SDLK_TAB), key(SDLK_TAB)}, &back_button},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        harness::capture_pixels(true);
        run(c.screen, {{}, c.keys, {}});
        harness::capture_pixels(false);
        ASSERT_GE(harness::frames().size(), 2u);
        const Frame& plain = harness::frames()[0];
        const Frame& ringed = harness::frames()[1];
        // The ring: 6 pixels around the button, moved whole into the picture.
        const Button& b = *c.button;
        const int w = b.width + 12, h = b.height + 12;
        const int x = std::clamp(b.x - 6, 0, ringed.width - w);
        const int y = std::clamp(b.y - 6, 0, ringed.height - h);
        const int mid_x = x + w / 2, mid_y = y + h / 2;
        const struct {
            const char* side;
            int ring_x, ring_y, halo_x, halo_y;  // a pixel of the ring, one just outside it
        } sides[] = {{"left", x + 1, mid_y, x - 1, mid_y},
                     {"right", x + w - 2, mid_y, x + w, mid_y},
                     {"top", mid_x, y + 1, mid_x, y - 1},
                     {"bottom", mid_x, y + h - 2, mid_x, y + h}};
        for (const auto& s : sides) {
            SCOPED_TRACE(s.side);
            EXPECT_EQ(ring, pixel(ringed, s.ring_x, s.ring_y));
            if (s.halo_x >= 0 && s.halo_y >= 0 && s.halo_x < ringed.width &&
                s.halo_y < ringed.height) {
                EXPECT_NE(pixel(plain, s.halo_x, s.halo_y), pixel(ringed, s.halo_x, s.halo_y))
                    << "no halo outside the ring";
            }
        }
    }
}

// With speech on and a stand-in speech server, what it hears.
class SpeechTest : public AccessTest {
protected:
    void SetUp() override
    {
        server.start();
        setenv("SPEECHD_ADDRESS", server.address().c_str(), 1);
        setenv("HANGMAN_SPEECH", speech, 1);
        AccessTest::SetUp();
    }

    // What it heard from `from` on, once speech has stopped (and said what
    // was left to say).
    std::vector<std::string> heard(size_t from = 0)
    {
        stop_speech();
        const std::vector<std::string> texts = server.texts();
        return std::vector<std::string>(
            texts.begin() + static_cast<long>(std::min(from, texts.size())), texts.end());
    }

    const char* speech = "on";
    harness::SpeechServer server{"/tmp/hangman-speech-" + std::to_string(getpid())};
};

TEST_F(SpeechTest, AGamePlayedByKeysIsToldStepByStep)
{
    run(main_menu, {{},
                    {key(SDLK_TAB)},
                    {key(SDLK_TAB)},
                    {key(SDLK_RETURN)},
                    {key(SDLK_SPACE)},  // developer mode off
                    {key(SDLK_ESCAPE)},
                    {},  // the main menu shows again
                    {key(SDLK_LEFT), key(SDLK_RETURN)},
                    {key(SDLK_RETURN)},  // "frog"
                    letters("q<x "),
                    letters("o "),
                    letters("o "),
                    letters("z j k m "),
                    {key(SDLK_RETURN)},  // not a letter: the state again
                    {key(SDLK_F2), harness::key(SDLK_F2, true)},
                    letters("g "),
                    {key(SDLK_F2)},
                    letters("f r "),
                    {key(SDLK_LSHIFT), key(SDLK_x)},
                    {}});
    const std::string dev_mode_does =
        "Prints the secret word and every button press on the console, and shows a sprite test "
        "on the main menu.";
    const std::vector<std::string> expected = {
        "Main menu. Buttons: Start, Options.",
        "Start, button",
        "Options, button",
        "Options. Buttons: Developer mode, Back. Focused: Developer mode, switch, on. " +
            dev_mode_does,
        "Developer mode, switch, off.",
        "Main menu. Buttons: Start, Options. Focused: Options, button.",
        "Start, button",
        "Choose a level. Buttons: Easy, 4 letters; Medium, 7 to 9 letters; Hard, 8 to 13 "
        "letters; Back. Focused: Easy, button, 4 letters.",
        "Game. A word of 4 letters, 6 tries. Type a letter, then Space to guess it.",
        "Letter Q.",
        "No letter.",
        "Letter X.",
        "X is not in the word. The word: 4 unknown letters, 0 of 4 letters found. 5 tries left.",
        "Letter O.",
        "O is in the word. The word: blank blank O blank, 1 of 4 letters found. 5 tries left.",
        "Letter O.",
        "O was guessed already. The word: blank blank O blank, 1 of 4 letters found. 5 tries "
        "left.",
        "Letter Z.",
        "Z is not in the word. The word: blank blank O blank, 1 of 4 letters found. 4 tries left.",
        "Letter J.",
        "J is not in the word. The word: blank blank O blank, 1 of 4 letters found. 3 tries left.",
        "Letter K.",
        "K is not in the word. The word: blank blank O blank, 1 of 4 letters found. 2 tries left.",
        "Letter M.",
        "M is not in the word. The word: blank blank O blank, 1 of 4 letters found. 1 try left.",
        "The word: blank blank O blank, 1 of 4 letters found. 1 try left. Guessed: X, O, Z, J, "
        "K, M. No letter chosen.",
        "Speech off.",
        "Speech on.",
        "Game. The word: blank blank O G. 1 try left. No letter chosen.",
        "Letter F.",
        "F is in the word. The word: F blank O G, 3 of 4 letters found. 1 try left.",
        "Letter R.",
        "R is in the word. The word: F R O G, 4 of 4 letters found. 1 try left.",
        "You won! The word: F R O G, 4 of 4 letters found. 1 try left. Press any key for the "
        "main menu.",
        "Main menu. Buttons: Start, Options. Focused: Start, button.",
    };
    EXPECT_EQ(expected, heard());
}

TEST_F(SpeechTest, AControllerGameIsToldAsWell)
{
    using harness::controller_button;
    std::vector<Batch> script = {{harness::plug_in_controller()},
                                 {controller_button(SDL_CONTROLLER_BUTTON_A)},
                                 {controller_button(SDL_CONTROLLER_BUTTON_A)}};  // Easy: "frog"
    for (int step = 0; step < 6; ++step) {
        script.push_back({controller_button(SDL_CONTROLLER_BUTTON_DPAD_UP)});  // up to F
    }
    for (SDL_GameControllerButton button : {
             SDL_CONTROLLER_BUTTON_B,
             SDL_CONTROLLER_BUTTON_DPAD_DOWN,  // round to Z
             SDL_CONTROLLER_BUTTON_DPAD_UP,    // and on to A
             SDL_CONTROLLER_BUTTON_DPAD_DOWN,  // down from A to Z
             SDL_CONTROLLER_BUTTON_DPAD_UP,    // up from Z to A
             SDL_CONTROLLER_BUTTON_A,
             SDL_CONTROLLER_BUTTON_DPAD_UP,  // on from the last one guessed
             SDL_CONTROLLER_BUTTON_A,
             SDL_CONTROLLER_BUTTON_Y,          // the state again
             SDL_CONTROLLER_BUTTON_DPAD_DOWN,  // down from the last one guessed
         }) {
        script.push_back({controller_button(button)});
    }
    script.push_back({harness::pull_out_controller()});
    script.push_back({});
    run(main_menu, script);
    EXPECT_EQ(
        "start button has been pressed.\neasy button has been pressed.\n"
        "word = frog\nword_length = 4trys_remaining = 5\ntrys_remaining = 4\n",
        console);
    const std::vector<std::string> expected = {
        "Game. A word of 4 letters, 6 tries. Choose a letter with up and down, then press A to "
        "guess it.",
        "Letter A.",
        "Letter B.",
        "Letter C.",
        "Letter D.",
        "Letter E.",
        "Letter F.",
        "No letter.",
        "Letter Z.",
        "Letter A.",
        "Letter Z.",
        "Letter A.",
        "A is not in the word. The word: 4 unknown letters, 0 of 4 letters found. 5 tries left.",
        "Letter B.",
        "B is not in the word. The word: 4 unknown letters, 0 of 4 letters found. 4 tries left.",
        "The word: 4 unknown letters, 0 of 4 letters found. 4 tries left. Guessed: A, B. No "
        "letter chosen.",
        "Letter A.",
    };  // and nothing after the close request, with the window gone
    EXPECT_EQ(expected, heard(2));
}

// Waits for `done`, at most the last-resort guard; false when it never came.
bool wait_for(const std::function<bool()>& done)
{
    const Uint32 began = SDL_GetTicks();
    while (!done()) {
        if (SDL_GetTicks() - began > 60000) {
            return false;
        }
        SDL_Delay(1);
    }
    return true;
}

bool heard_all(harness::SpeechServer& server, size_t count)
{
    return hooks::speaker_idle() && server.texts().size() >= count;
}

// A letter said, the frame that shows it presented, and an event taken.
void tell_letter(int letter)
{
    say_letter(letter);
    present_frame();
    speak_shown();
}

TEST_F(SpeechTest, ATextIsSpokenOnlyOnceTheFrameThatShowsItIsPresented)
{
    // Just before the frame that shows the ring on Start, the speaking
    // thread has said all it was given: the main menu, not yet Start.
    std::vector<std::string> before_ring;
    harness::before_each_present([&](size_t presented) {
        if (presented == 1) {
            EXPECT_TRUE(wait_for([&] { return heard_all(server, 1); })) << "the main menu said";
            before_ring = server.texts();
        }
    });
    run(main_menu, {{}, {key(SDLK_TAB)}, {}});
    harness::before_each_present(nullptr);
    EXPECT_EQ(std::vector<std::string>({"Main menu. Buttons: Start, Options."}), before_ring);
    EXPECT_EQ(std::vector<std::string>({"Main menu. Buttons: Start, Options.", "Start, button"}),
              heard());
}

TEST_F(SpeechTest, AFullQueueDropsTheOldestTextsAndKeepsTheNewest)
{
    server.hold(true);  // the first text keeps the speaking thread waiting
    tell_letter(1);
    ASSERT_TRUE(wait_for([&] { return server.texts().size() == 1; })) << "the first text";
    constexpr int more = 1010;  // ten more than wait
    for (int i = 1; i <= more; ++i) {
        say_letter(i % 26 + 1);
    }
    present_frame();
    speak_shown();
    server.hold(false);
    ASSERT_TRUE(wait_for([&] { return heard_all(server, 1001); })) << "the texts kept";
    std::vector<std::string> expected = {"Letter A."};
    for (int i = more - 999; i <= more; ++i) {
        expected.push_back(std::string("Letter ") + static_cast<char>('A' + i % 26) + ".");
    }
    EXPECT_EQ(expected, heard());
}

TEST_F(SpeechTest, AServerStartedAfterAFailedLookIsFoundAtTheNextLook)
{
    stop_speech();
    const std::string path = "/tmp/hangman-later-" + std::to_string(getpid());
    setenv("SPEECHD_ADDRESS", ("unix_socket:" + path).c_str(), 1);
    start_speech();
    tell_letter(1);  // no server: looked for in vain
    ASSERT_TRUE(wait_for(hooks::speaker_idle));
    harness::SpeechServer later(path);
    later.start();
    tell_letter(2);  // not looked for again so soon: not said
    ASSERT_TRUE(wait_for(hooks::speaker_idle));
    hooks::add_ticks(5000);
    tell_letter(3);  // looked for again, and found
    ASSERT_TRUE(wait_for([&] { return hooks::speaker_idle() && !later.texts().empty(); }));
    stop_speech();
    EXPECT_EQ(std::vector<std::string>({"Letter C."}), later.texts());
}

TEST_F(SpeechTest, AnEmptySpeechdAddressNeitherCrashesNorHangs)
{
    stop_speech();
    setenv("SPEECHD_ADDRESS", "", 1);
    start_speech();
    run(main_menu, {{key(SDLK_TAB)}, {key(SDLK_TAB)}, {}});
    EXPECT_EQ(4u, harness::frames().size());
    EXPECT_TRUE(server.texts().empty());
}

class SilentTest : public SpeechTest {
protected:
    SilentTest() { speech = "off"; }
};

TEST_F(SilentTest, SpeechOffSaysNothingUntilSwitchedOn)
{
    run(main_menu, {{key(SDLK_TAB)}, {key(SDLK_F2)}, {key(SDLK_TAB)}, {}});
    EXPECT_EQ(std::vector<std::string>(
                  {"Speech on.", "Main menu. Focused: Start, button.", "Options, button"}),
              heard());
}

// Last of all (gtest runs a fixture's tests together, in the order the
// fixtures come): the speaking thread that this leaves stuck would hold up
// speech for any later test in the same process.
class StuckSpeechTest : public AccessTest {};

TEST_F(StuckSpeechTest, AServerThatNeverAnswersHoldsNothingUp)
{
    // It takes the connection and reads nothing: every call waits for ever.
    const std::string path = "/tmp/hangman-mute-" + std::to_string(getpid());
    harness::SpeechServer mute(path);  // listening, never served
    close();
    setenv("SPEECHD_ADDRESS", mute.address().c_str(), 1);
    setenv("HANGMAN_SPEECH", "on", 1);
    ASSERT_TRUE(harness::start_game_media());
    std::vector<Batch> script(30, Batch{key(SDLK_TAB)});
    run(main_menu, script);
    EXPECT_EQ(31u, harness::frames().size()) << "every batch was taken, and the close request";
    close();  // must not wait for the speech server (or ctest's time limit ends the test)
    setenv("HANGMAN_SPEECH", "off", 1);
}

}  // namespace
