// The frame loop that every screen shares: nothing drawn while the window is
// hidden or minimised, close requests that end a hidden screen at once, the
// end picture drawn again when the window is uncovered, frames paced to the
// display (on a clock of the tests' own), and textures filtered the cheap way
// without changing a pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "game/play.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "screens/difficulty.hpp"
#include "screens/options.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

using harness::Batch;
using harness::Frame;

namespace {

struct Screen {
    const char* name;
    std::function<void()> run;
    bool draws_after_close;  // the main menu and the game finish their frame
};

const std::vector<Screen>& screens()
{
    static const std::vector<Screen> all = {
        {"main menu", [] { run_main_menu(); }, true},
        {"difficulty screen", [] { run_difficulty_screen(); }, false},
        {"options screen", [] { run_options_screen(); }, false},
        {"game", [] { play_game("frog"); }, true},
    };
    return all;
}

Batch keys(const char* text)
{
    Batch batch;
    for (const char* ch = text; *ch != '\0'; ++ch) {
        batch.push_back(harness::key(*ch));
    }
    return batch;
}

class FrameLoopTest : public harness::GameTest {
protected:
    void TearDown() override
    {
        set_frame_pacing(false);
        hooks::window_minimised() = false;
        harness::capture_pixels(false);
        harness::GameTest::TearDown();
    }

    // Runs `screen` with the script, console output kept out of the log.
    void run(const Screen& screen, std::vector<Batch> script)
    {
        harness::run_script(std::move(script));
        harness::CapturedStdout quiet;
        screen.run();
    }
};

TEST_F(FrameLoopTest, NothingIsDrawnWhileTheWindowIsHiddenOrMinimised)
{
    struct Way {
        const char* name;
        harness::Action away;
        harness::Action back;
    };
    const Way ways[] = {
        {"hidden", harness::hide_window(), harness::show_window()},
        {"minimised", harness::minimise_window(), harness::restore_window()},
    };
    for (const Screen& screen : screens()) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(screen.name) + ", " + way.name);
            // Input keeps arriving while the window is away; the loop takes
            // it and draws again only once the window is back.
            run(screen, {{harness::move_to(100, 100)},
                         {way.away},
                         {harness::move_to(150, 390), harness::key(SDLK_a)},
                         {},
                         {harness::release(5, 5)},
                         {way.back},
                         {harness::quit()}});
            const auto& frames = harness::frames();
            ASSERT_EQ(screen.draws_after_close ? 3u : 2u, frames.size()) << "frames presented";
            for (size_t n = 0; n < frames.size(); ++n) {
                EXPECT_TRUE(frames[n].shown) << "frame " << n << " was drawn while " << way.name;
            }
            harness::flush_events();
        }
    }
}

TEST_F(FrameLoopTest, TheMenuAnimationPausesWhileTheWindowIsHidden)
{
    dev_mode = true;
    std::vector<Batch> script(10);
    script.push_back({harness::hide_window()});
    script.insert(script.end(), 30, Batch{harness::move_to(10, 10)});
    script.push_back({harness::show_window()});
    script.push_back({harness::quit()});
    run(screens()[0], script);

    // Frames 0 to 9 show the first letter of the overlay, frame 10 the next:
    // the frames counted, not the time that passed while hidden.
    const auto& frames = harness::frames();
    ASSERT_EQ(12u, frames.size());
    auto overlay_letter = [](const Frame& frame) {
        for (const harness::Copy& copy : frame.copies) {
            if (copy.texture == alpha_texture.sdl_texture && copy.destination.x == 600) {
                return copy.clip.y / 53;
            }
        }
        return -1;
    };
    EXPECT_EQ(0, overlay_letter(frames[9]));
    EXPECT_EQ(1, overlay_letter(frames[10])) << "the first frame after the window came back";
}

TEST_F(FrameLoopTest, ACloseRequestEndsAHiddenScreenAtOnce)
{
    for (const Screen& screen : screens()) {
        SCOPED_TRACE(screen.name);
        run(screen, {{}, {harness::hide_window()}, {harness::quit()}, {harness::show_window()}});
        // The main menu and the game finish their frame, unseen; had they
        // waited for the window to come back, the script would have run out.
        const auto& frames = harness::frames();
        ASSERT_EQ(screen.draws_after_close ? 2u : 1u, frames.size());
        EXPECT_EQ(screen.draws_after_close ? 4u : 3u, harness::batches_queued());
        EXPECT_FALSE(screen.draws_after_close && frames.back().shown);
        EXPECT_EQ(0, harness::extra_quits()) << "the screen waited for the window to come back";
        harness::flush_events();
        SDL_ShowWindow(window);
        harness::flush_events();
    }
}

TEST_F(FrameLoopTest, TheEndPictureIsDrawnAgainOnlyWhenTheWindowIsUncovered)
{
    using harness::window_event;
    struct Case {
        const char* name;
        const char* play;  // keys that end the game "frog"
        std::vector<Batch> during_wait;
        size_t redraws;
    };
    const std::vector<Case> cases = {
        {"exposed", "f r o g ", {{window_event(SDL_WINDOWEVENT_EXPOSED)}}, 1},
        {"exposed, lost game", "a b c d e h ", {{window_event(SDL_WINDOWEVENT_EXPOSED)}}, 1},
        {"restored", "f r o g ", {{harness::minimise_window()}, {harness::restore_window()}}, 1},
        {"resized",
         "f r o g ",
         {{window_event(SDL_WINDOWEVENT_RESIZED), window_event(SDL_WINDOWEVENT_SIZE_CHANGED)}},
         1},
        {"exposed twice at once",
         "f r o g ",
         {{window_event(SDL_WINDOWEVENT_EXPOSED), window_event(SDL_WINDOWEVENT_EXPOSED)}},
         1},
        {"exposed, then quiet frames",
         "f r o g ",
         {{window_event(SDL_WINDOWEVENT_EXPOSED)}, {}, {}, {}},
         1},
        {"exposed, then moved at once",
         "f r o g ",
         {{window_event(SDL_WINDOWEVENT_EXPOSED), window_event(SDL_WINDOWEVENT_MOVED)}},
         1},
        {"exposed twice, one after the other",
         "f r o g ",
         {{window_event(SDL_WINDOWEVENT_EXPOSED)}, {window_event(SDL_WINDOWEVENT_EXPOSED)}},
         2},
        {"other window events",
         "f r o g ",
         {{window_event(SDL_WINDOWEVENT_SHOWN), window_event(SDL_WINDOWEVENT_MOVED),
           window_event(SDL_WINDOWEVENT_FOCUS_GAINED), window_event(SDL_WINDOWEVENT_ENTER),
           window_event(SDL_WINDOWEVENT_LEAVE)}},
         0},
        {"hidden and shown without exposure",
         "f r o g ",
         {{harness::hide_window()}, {harness::show_window()}},
         0},
        {"pointer and key releases",
         "f r o g ",
         {{harness::move_to(300, 300), harness::press(10, 10), harness::release(10, 10)}},
         0},
        // The window's keys: each switch of fullscreen resizes the window.
        {"F11, Alt+Enter, Alt alone, a held F11",
         "f r o g ",
         {{harness::key(SDLK_F11)},
          {harness::key(SDLK_LALT), harness::key(SDLK_RETURN, false, KMOD_LALT)},
          {harness::key(SDLK_RALT), harness::key(SDLK_F11, true)}},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Batch> script = {keys(c.play)};
        script.insert(script.end(), c.during_wait.begin(), c.during_wait.end());
        script.push_back({harness::key(SDLK_x)});
        harness::run_script(script);
        EXPECT_FALSE(play_game("frog")) << "a key still ends the wait";

        const auto& frames = harness::frames();
        ASSERT_EQ(1 + c.redraws, frames.size()) << "frames presented";
        for (size_t n = 1; n < frames.size(); ++n) {
            EXPECT_EQ(harness::describe(frames[0]), harness::describe(frames[n]))
                << "redraw " << n << " differs from the end frame";
        }
        EXPECT_EQ(0, harness::extra_quits());
        hooks::window_minimised() = false;
        harness::flush_events();
    }
}

TEST_F(FrameLoopTest, PacingSleepsWhatIsLeftOfTheRefresh)
{
    SDL_DisplayMode mode{};
    SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode);
    ASSERT_TRUE(mode.refresh_rate == 0 || mode.refresh_rate == 60)
        << "the cases below are for 60 Hz, the offscreen driver's; it says " << mode.refresh_rate;

    // A refresh at 60 Hz is 16,666 us. A frame that took `frame_us` is
    // followed by a sleep of the whole milliseconds left of it; the first
    // frame has nothing to wait for.
    struct Case {
        const char* name;
        Uint32 frame_us;
        std::vector<Uint32> sleeps_ms;
    };
    const std::vector<Case> cases = {
        {"no time at all", 0, {16, 16, 16}},          // 16,666 us left
        {"2 ms", 2000, {14, 14, 14}},                 // 14,666 us
        {"10.5 ms", 10500, {6, 6, 6}},                // 6,166 us
        {"less than a millisecond left", 16000, {}},  // 666 us: vsync's own jitter
        {"a whole refresh", 16666, {}},
        {"longer than a refresh", 25000, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hooks::Clock& clock = hooks::clock();
        clock = hooks::Clock{true, 1000000, c.frame_us, {}};
        set_frame_pacing(true);
        run(screens()[2], std::vector<Batch>(4, Batch{harness::move_to(300, 300)}));
        clock.on = false;
        ASSERT_EQ(4u, harness::frames().size());
        EXPECT_EQ(c.sleeps_ms, clock.delays) << "milliseconds slept after each frame";
        harness::flush_events();
    }
}

// The first frame of the main menu in a window made at `width` by `height`
// pixels (the offscreen driver keeps a window's first size), the media
// loaded anew for its renderer.
Frame menu_frame(int width, int height)
{
    free_media();
    free_frame();
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    window = SDL_CreateWindow("SDL Tutorial", 0, 0, width, height, SDL_WINDOW_SHOWN);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    EXPECT_TRUE(renderer != nullptr && load_media()) << SDL_GetError();
    harness::flush_events();
    harness::capture_pixels(true);
    harness::run_script({{}, {harness::quit()}});
    run_main_menu();
    harness::flush_events();
    return harness::frames().at(0);
}

// Around the picture, the letterbox colour. In it, each pixel takes its
// colour from the picture's pixels under it: the very one at a whole scale;
// between whole scales blended only at the picture's edges, about a pixel
// per edge or less, neither smeared (smoothing alone) nor uneven (copying
// pixels alone blends none).
TEST_F(FrameLoopTest, ThePictureFillsAWindowOfAnyShapeSharply)
{
    const struct {
        int width, height;
        SDL_Rect view;
    } cases[] = {{1280, 960, {0, 0, 1280, 960}},
                 {1280, 800, {107, 0, 1066, 800}},
                 {800, 800, {0, 100, 800, 600}},
                 {400, 400, {0, 50, 400, 300}},
                 // One side the picture's own: scaled all the same, on the board colour.
                 {640, 600, {0, 60, 640, 480}},
                 {800, 480, {80, 0, 640, 480}}};
    const Frame picture = menu_frame(window_width, window_height);
    auto source = [&](int x, int y) {
        return picture.pixels.at(
            static_cast<size_t>(std::clamp(y, 0, window_height - 1) * window_width +
                                std::clamp(x, 0, window_width - 1)));
    };
    double edges = 0;  // pairs of neighbouring pixels that differ
    for (int y = 0; y < window_height; ++y) {
        for (int x = 0; x < window_width; ++x) {
            edges += (source(x, y) != source(x + 1, y)) + (source(x, y) != source(x, y + 1));
        }
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const SDL_Rect view = picture_view(c.width, c.height);
        EXPECT_TRUE(SDL_RectEquals(&view, &c.view)) << view.x << "," << view.y << " " << view.w;
        const Frame frame = menu_frame(c.width, c.height);
        ASSERT_EQ(c.width * c.height, frame.width * frame.height) << "pixels read back";
        const double scale = static_cast<double>(view.w) / window_width;
        size_t wrong_bars = 0, unlike = 0, blended = 0;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const Uint32 pixel = frame.pixels[static_cast<size_t>(y * frame.width + x)];
                const SDL_Point at = {x, y};
                if (!SDL_PointInRect(&at, &view)) {
                    wrong_bars += (pixel & 0xFFFFFF) !=
                                  static_cast<Uint32>(letterbox_colour.r << 16 |
                                                      letterbox_colour.g << 8 | letterbox_colour.b);
                    continue;
                }
                const int px = static_cast<int>(std::floor((x + 0.5 - view.x) / scale - 0.5));
                const int py = static_cast<int>(std::floor((y + 0.5 - view.y) / scale - 0.5));
                const Uint32 under[] = {source(px, py), source(px + 1, py), source(px, py + 1),
                                        source(px + 1, py + 1)};
                for (int shift = 0; shift < 24; shift += 8) {
                    const auto [low, high] =
                        std::minmax({under[0] >> shift & 0xFF, under[1] >> shift & 0xFF,
                                     under[2] >> shift & 0xFF, under[3] >> shift & 0xFF});
                    const Uint32 value = pixel >> shift & 0xFF;
                    unlike += value + 1 < low || value > high + 1;
                }
                blended += std::find(std::begin(under), std::end(under), pixel) == std::end(under);
            }
        }
        EXPECT_EQ(0u, wrong_bars) << "pixels around the picture not in the letterbox colour";
        EXPECT_EQ(0u, unlike) << "colours unlike the picture's pixels under them";
        const double per_edge = static_cast<double>(blended) / (edges * std::max(scale, 1.0));
        EXPECT_TRUE(view.w % window_width == 0 ? blended == 0 : per_edge > 0.2 && per_edge < 0.8)
            << "blended pixels per edge of the picture: " << per_edge;
    }
}

// The window can be made no smaller than half the picture each way; a
// window smaller still (a window system may give one) neither divides by
// zero (the sanitizer build sees it) nor misplaces a press: at its picture's
// share of Start's middle the pointer is on Start, and off the picture where
// the picture has no pixels at all.
TEST_F(FrameLoopTest, ATinyWindowNeitherDividesByZeroNorMisplacesPresses)
{
    SDL_SetWindowSize(window, 10, 10);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_TRUE(width >= window_width / 2 && height >= window_height / 2)
        << "the window was made " << width << " x " << height;
    const struct {
        int width, height;
        bool on_start;  // else the picture has no pixels: off it
    } cases[] = {{320, 240, true}, {321, 241, true}, {64, 48, true}, {1, 1, false}, {1, 3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        menu_frame(c.width, c.height);
        const SDL_Rect view = picture_view(c.width, c.height);
        harness::set_pointer(view.x + 180 * view.w / window_width,
                             view.y + 390 * view.h / window_height);
        const SDL_Point at = pointer_in_picture();
        EXPECT_EQ(c.on_start, start_button.contains(at.x, at.y)) << at.x << ", " << at.y;
        EXPECT_TRUE(c.on_start || (at.x < 0 && at.y < 0)) << at.x << ", " << at.y;
    }
}

Texture* const all_textures[] = {
    &menu_screen_texture,     &options_screen_texture, &difficulty_screen_texture,
    &game_screen_texture,     &win_screen_texture,     &lose_screen_texture,
    &start_button_texture,    &options_button_texture, &easy_button_texture,
    &med_button_texture,      &hard_button_texture,    &back_button_texture,
    &dev_mode_button_texture, &hung_boi_texture,       &alpha_texture,
};

void set_scale_mode(SDL_ScaleMode mode)
{
    for (Texture* texture : all_textures) {
        SDL_SetTextureScaleMode(texture->sdl_texture, mode);
    }
}

TEST_F(FrameLoopTest, NearestFilteringDrawsEveryScreenExactlyAsLinearDoes)
{
    for (const Texture* texture : all_textures) {
        SDL_ScaleMode mode = SDL_ScaleModeLinear;
        SDL_GetTextureScaleMode(texture->sdl_texture, &mode);
        EXPECT_EQ(SDL_ScaleModeNearest, mode) << "a texture is loaded with linear filtering";
    }

    struct Case {
        const char* name;
        std::function<void()> run;
        Batch input;
    };
    const std::vector<Case> cases = {
        {"main menu, developer mode", [] { run_main_menu(); }, {harness::move_to(150, 390)}},
        {"difficulty screen", [] { run_difficulty_screen(); }, {harness::move_to(300, 300)}},
        {"options screen", [] { run_options_screen(); }, {harness::move_to(230, 367)}},
        {"game", [] { play_game("comprehensive"); }, keys("c q x z o m")},
        {"won game", [] { play_game("frog"); }, keys("f r o g ")},
        {"lost game", [] { play_game("frog"); }, keys("a b c d e h ")},
    };
    dev_mode = true;
    harness::capture_pixels(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Uint32> pixels[2];
        for (SDL_ScaleMode mode : {SDL_ScaleModeLinear, SDL_ScaleModeNearest}) {
            set_scale_mode(mode);
            harness::run_script({c.input, {harness::quit()}});
            harness::CapturedStdout quiet;
            c.run();
            ASSERT_FALSE(harness::frames().empty());
            pixels[mode == SDL_ScaleModeNearest] = harness::frames()[0].pixels;
            harness::flush_events();
        }
        ASSERT_EQ(static_cast<size_t>(window_width * window_height), pixels[0].size());
        size_t differing = 0;
        for (size_t i = 0; i < pixels[0].size(); ++i) {
            differing += pixels[0][i] != pixels[1][i];
        }
        EXPECT_EQ(0u, differing) << "pixels that differ between linear and nearest filtering";
    }
}

TEST_F(FrameLoopTest, ThePixelComparisonSeesFilteringWhereACopyIsScaled)
{
    // The check above would pass on blank frames too; a scaled copy shows
    // that the read-back pixels do depend on the filter.
    std::vector<Uint32> pixels[2];
    for (SDL_ScaleMode mode : {SDL_ScaleModeLinear, SDL_ScaleModeNearest}) {
        SDL_SetTextureScaleMode(alpha_texture.sdl_texture, mode);
        clear_frame();
        const SDL_Rect destination = {0, 0, 3 * 46, 3 * 52};
        SDL_RenderCopy(renderer, alpha_texture.sdl_texture, &letter_clips[7], &destination);
        pixels[mode == SDL_ScaleModeNearest].assign(static_cast<size_t>(138 * 156), 0);
        SDL_RenderReadPixels(renderer, &destination, SDL_PIXELFORMAT_ARGB8888,
                             pixels[mode == SDL_ScaleModeNearest].data(), 138 * 4);
    }
    EXPECT_NE(pixels[0], pixels[1]);
}

}  // namespace
