// The main menu loop driven frame by frame: looks of its buttons, the figure
// and the developer overlay across their cycles, presses and close requests.
#include <gtest/gtest.h>

#include <string>

#include "app/app.hpp"
#include "gfx/media.hpp"
#include "support/harness.hpp"

using namespace hangman;

using harness::Batch;
using harness::Copy;
using harness::Frame;

namespace {

class MainMenuTest : public harness::GameTest {
protected:
    // The copies of a frame that come from `texture`, in drawing order.
    static std::vector<Copy> copies_of(const Frame& frame, const Texture& texture)
    {
        std::vector<Copy> found;
        for (const Copy& copy : frame.copies) {
            if (copy.texture == texture.sdl_texture) {
                found.push_back(copy);
            }
        }
        return found;
    }

    // The clip row a button shows in a frame: 0 idle, 60 hover, -1 whole sheet.
    static int look_of(const Frame& frame, const Texture& sheet)
    {
        const auto copies = copies_of(frame, sheet);
        if (copies.size() != 1) {
            return -2;
        }
        return copies[0].has_clip ? copies[0].clip.y : -1;
    }
};

TEST_F(MainMenuTest, FirstFrameShowsEveryPieceAtItsPlace)
{
    harness::run_script({{}, {harness::quit()}});
    run_main_menu();
    ASSERT_EQ(2u, harness::frames().size());
    const Frame& frame = harness::frames()[0];
    ASSERT_EQ(4u, frame.copies.size()) << harness::describe(frame);
    EXPECT_EQ(menu_screen_texture.sdl_texture, frame.copies[0].texture);
    EXPECT_FALSE(frame.copies[0].has_clip);
    EXPECT_EQ(640, frame.copies[0].destination.w);
    EXPECT_EQ(480, frame.copies[0].destination.h);
    EXPECT_EQ(0, look_of(frame, start_button_texture)) << "idle before any event";
    EXPECT_EQ(0, look_of(frame, options_button_texture)) << "idle before any event";
    const Copy& figure = frame.copies[3];
    EXPECT_EQ(hung_boi_texture.sdl_texture, figure.texture);
    EXPECT_EQ(293, figure.destination.x);
    EXPECT_EQ(150, figure.destination.y);
    EXPECT_EQ(55, figure.destination.w);
}

TEST_F(MainMenuTest, ButtonsShowTheirHoverLookOnlyUnderThePointer)
{
    struct Step {
        Batch input;
        int start_look;
        int options_look;
    };
    const std::vector<Step> steps = {
        {{harness::move_to(100, 380)}, 60, 0},
        {{harness::key(SDLK_a)}, 0, 0},  // a key puts the idle look back
        {{harness::move_to(340, 360)}, 0, 60},
        {{harness::move_to(339, 360)}, 0, 0},
        {{harness::move_to(300, 420), harness::release(300, 420)}, 0, 0},
        {{harness::move_to(300, 420)}, 60, 0},
    };
    std::vector<Batch> script;
    for (const Step& step : steps) {
        script.push_back(step.input);
    }
    script.push_back({harness::quit()});
    harness::run_script(script);
    run_main_menu();
    ASSERT_EQ(steps.size() + 1, harness::frames().size());
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].start_look, look_of(harness::frames()[i], start_button_texture))
            << "start look in frame " << i;
        EXPECT_EQ(steps[i].options_look, look_of(harness::frames()[i], options_button_texture))
            << "options look in frame " << i;
    }
}

TEST_F(MainMenuTest, FigureAndOverlayRunThroughTheirCyclesAndWrap)
{
    dev_mode = true;
    const int frame_count = 560;  // over three figure cycles and two letter cycles
    std::vector<Batch> script(frame_count);
    script.push_back({harness::quit()});
    harness::run_script(script);
    harness::CapturedStdout out;
    run_main_menu();
    ASSERT_EQ(size_t(frame_count + 1), harness::frames().size());
    const std::vector<Frame> moving = harness::frames();
    // Where the system asks for less motion, the whole figure stands still.
    setenv("HANGMAN_REDUCED_MOTION", "on", 1);
    harness::run_script(script);
    run_main_menu();
    setenv("HANGMAN_REDUCED_MOTION", "off", 1);
    ASSERT_EQ(size_t(frame_count + 1), harness::frames().size());

    for (int f = 0; f < frame_count; ++f) {
        const Frame& frame = moving[size_t(f)];
        const auto figure = copies_of(frame, hung_boi_texture);
        ASSERT_EQ(1u, figure.size()) << "frame " << f;
        EXPECT_EQ(55 * ((f % 168) / 24), figure[0].clip.x) << "figure clip in frame " << f;
        EXPECT_EQ(55 * 6, copies_of(harness::frames()[size_t(f)], hung_boi_texture).at(0).clip.x)
            << "still figure in frame " << f;

        const auto overlay = copies_of(frame, alpha_texture);
        ASSERT_EQ(3u, overlay.size()) << "overlay copies in frame " << f;
        const int letter = (f % 270) / 10;
        const int digit = ((f % 168) / 10) % 10;
        EXPECT_EQ(53 * letter, overlay[0].clip.y) << "large letter in frame " << f;
        EXPECT_EQ(600, overlay[0].destination.x);
        EXPECT_EQ(14 * letter, overlay[1].clip.y) << "small letter in frame " << f;
        EXPECT_EQ(550, overlay[1].destination.x);
        EXPECT_EQ(57, overlay[2].clip.x) << "digit column in frame " << f;
        EXPECT_EQ(14 * digit, overlay[2].clip.y) << "digit in frame " << f;
        EXPECT_EQ(430, overlay[2].destination.x);
    }
    EXPECT_EQ("", out.text());
}

TEST_F(MainMenuTest, NoOverlayWithoutDeveloperMode)
{
    harness::run_script({{}, {}, {harness::quit()}});
    run_main_menu();
    for (const Frame& frame : harness::frames()) {
        EXPECT_TRUE(copies_of(frame, alpha_texture).empty()) << harness::describe(frame);
    }
}

TEST_F(MainMenuTest, StartPressIsNotHandedOnToOptionsAfterItsScreenReturns)
{
    dev_mode = true;
    harness::run_script({
        {harness::press(100, 380)},          // Start: the difficulty screen opens
        {harness::press(600, 20)},           // Back, on the difficulty screen
        {harness::place_pointer(400, 380)},  // rests over Options as it returns
        {harness::quit()},
    });
    harness::CapturedStdout out;
    run_main_menu();
    EXPECT_EQ("start button has been pressed.\nback button has been pressed.\n", out.text());
    ASSERT_EQ(4u, harness::frames().size());
    EXPECT_EQ(1u, copies_of(harness::frames()[1], difficulty_screen_texture).size());
    EXPECT_EQ(1u, copies_of(harness::frames()[2], menu_screen_texture).size())
        << "the options screen opened without a click";
}

TEST_F(MainMenuTest, PressesPrintOnlyInDeveloperMode)
{
    for (bool developer : {false, true}) {
        SCOPED_TRACE(developer ? "developer mode" : "normal mode");
        dev_mode = developer;
        harness::flush_events();
        harness::run_script({
            {harness::press(400, 380)},  // Options
            {harness::press(600, 20)},   // Back
            {harness::press(100, 380)},  // Start
            {harness::press(600, 20)},   // Back
            {harness::quit()},
        });
        harness::CapturedStdout out;
        run_main_menu();
        EXPECT_EQ(developer ? "options button has been pressed.\nback button has been pressed.\n"
                              "start button has been pressed.\nback button has been pressed.\n"
                            : "",
                  out.text());
    }
}

TEST_F(MainMenuTest, AStartPressAfterACloseRequestKeepsTheProgramRunning)
{
    harness::run_script({
        {harness::quit(), harness::press(100, 380)},
        {harness::press(600, 20)},
        {},
        {harness::quit()},
    });
    run_main_menu();
    // difficulty frame, difficulty frame after Back, then two menu frames
    EXPECT_EQ(4u, harness::frames().size());
}

}  // namespace
