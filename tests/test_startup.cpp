// The whole program in-process: start-up lines and failures, the exit status,
// and the order of shutdown.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    std::string text;
    int status;
    std::string errors;  // what reached standard error
};

// Runs the program, closing its window after the first menu frame.
ProgramRun run_program_once()
{
    harness::run_script({{}, {harness::quit()}});
    hooks::shutdown_trace().clear();
    harness::CapturedStdout out;
    harness::CapturedStdout errors(2);
    const int status = run_program();
    return {out.text(), status, errors.text()};
}

std::vector<std::string> expected_shutdown(int textures, bool started)
{
    std::vector<std::string> calls = {started ? "TTF_CloseFont" : "TTF_CloseFont null"};
    calls.insert(calls.end(), static_cast<size_t>(textures), "SDL_DestroyTexture");
    for (const char* call : {"SDL_DestroyRenderer", "SDL_DestroyWindow"}) {
        calls.push_back(started ? call : std::string(call) + " null");
    }
    calls.insert(calls.end(), {"TTF_Quit", "IMG_Quit", "SDL_Quit"});
    return calls;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { harness::enter_scratch_copy_of_assets(); }
};

TEST_F(StartupTest, NormalRunPrintsTwoLinesAndExitsWithZero)
{
    const ProgramRun run = run_program_once();
    EXPECT_EQ("initialize complete!\nload media complete!\n", run.text);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(expected_shutdown(15, true), hooks::shutdown_trace());
}

TEST_F(StartupTest, TheWindowIconIsCosmetic)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
        bool icon_set;
    };
    const std::vector<Case> cases = {
        {"present", [] {}, true},
        {"missing", [] { fs::remove("icon.png"); }, false},
        {"not a PNG", [] { std::ofstream("icon.png") << "not an image"; }, false},
        {"empty", [] { std::ofstream("icon.png", std::ios::trunc); }, false},
        {"a folder",
         [] {
             fs::remove("icon.png");
             fs::create_directory("icon.png");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        harness::enter_scratch_copy_of_assets();
        c.arrange();
        hooks::window_icons().clear();
        const ProgramRun run = run_program_once();
        EXPECT_EQ("initialize complete!\nload media complete!\n", run.text);
        EXPECT_EQ(0, run.status);
        const auto expected = c.icon_set ? std::vector<std::pair<int, int>>{{64, 64}}
                                         : std::vector<std::pair<int, int>>{};
        EXPECT_EQ(expected, hooks::window_icons()) << "icons given to the window";
    }
}

struct FailureCase {
    const char* name;
    std::function<void()> arrange;
    std::string expected_text;
    int expected_status;
};

TEST_F(StartupTest, EveryStartUpFailureIsReportedOnceAndExitsWithOne)
{
    const std::string no_display =
        "SDL could not initialize. SDL ERROR: No display found (SDL fell back to its offscreen "
        "video driver, which shows nothing; set SDL_VIDEODRIVER=offscreen to run without a "
        "display)\n"
        "Failed to initialize.\n";
    const std::vector<FailureCase> cases = {
        {"no video driver", [] { setenv("SDL_VIDEODRIVER", "no_such_driver", 1); },
         "SDL could not initialize. SDL ERROR: no_such_driver not available\n"
         "Window could not be created! SDL Error: no_such_driver not available\n"
         "Failed to initialize.\n",
         1},
        {"no window", [] { hooks::faults().window_fails = true; },
         "Window could not be created! SDL Error: the window system said no\n"
         "Failed to initialize.\n",
         1},
        {"no video driver and no window",
         [] {
             setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
             hooks::faults().window_fails = true;
         },
         "SDL could not initialize. SDL ERROR: no_such_driver not available\n"
         "Window could not be created! SDL Error: the window system said no\n"
         "Failed to initialize.\n",
         1},
        // As over SSH: no runtime folder either, where Wayland's library
        // would have had its say.
        {"no display",
         [] {
             for (const char* variable :
                  {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"}) {
                 unsetenv(variable);
             }
         },
         no_display, 1},
        {"no display, SDL_VIDEODRIVER set but empty",
         [] {
             setenv("SDL_VIDEODRIVER", "", 1);
             unsetenv("DISPLAY");
             unsetenv("WAYLAND_DISPLAY");
             unsetenv("XDG_RUNTIME_DIR");
         },
         no_display, 1},
        {"no accelerated renderer", [] { setenv("SDL_VIDEODRIVER", "dummy", 1); },
         "Renderer could not be created! SDL Error: Couldn't find matching render driver\n"
         "Failed to initialize.\n",
         1},
        {"no PNG support", [] { hooks::faults().img_init_fails = true; },
         "SDL_image could not initialize! SDL_image Error: PNG images are not supported\n"
         "Failed to initialize.\n",
         1},
        {"no SDL_ttf", [] { hooks::faults().ttf_init_fails = true; },
         "SDL_ttf could not initialize! SDL_ttf Error: FreeType could not start\n"
         "Failed to initialize.\n",
         1},
        {"neither SDL_image nor SDL_ttf",
         [] {
             hooks::faults().img_init_fails = true;
             hooks::faults().ttf_init_fails = true;
         },
         "SDL_image could not initialize! SDL_image Error: PNG images are not supported\n"
         "SDL_ttf could not initialize! SDL_ttf Error: FreeType could not start\n"
         "Failed to initialize.\n",
         1},
        {"hint refused", [] { hooks::faults().refuse_hint = true; },
         "Warning: Linear texture filtering not enabled!initialize complete!\n"
         "load media complete!\n",
         0},
        {"a texture refused", [] { hooks::faults().refuse_texture = 7; },
         "initialize complete!\n"
         "Unable t0 create texture from pngs/start_button_sprites.png. SDL ERROR: Out of texture "
         "memory\n"
         "Failed to load button_texture.\n"
         "Failed to load media.\n",
         1},
        {"an image missing", [] { fs::remove("pngs/menu_screen.png"); },
         "initialize complete!\n"
         "Unable to load image pngs/menu_screen.png. SDL_image ERROR: Couldn't open "
         "pngs/menu_screen.png\n"
         "Failed to load menu_screen texture\n"
         "Failed to load media.\n",
         1},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        hooks::faults() = hooks::Faults{};
        harness::reset_catalogue();
        c.arrange();
        const ProgramRun run = run_program_once();
        EXPECT_EQ(c.expected_text, run.text);
        EXPECT_EQ("", run.errors) << "only the game's own lines";
        EXPECT_EQ(c.expected_status, run.status);
        EXPECT_EQ("SDL_Quit", hooks::shutdown_trace().back()) << "shutdown did not run to the end";
        harness::restore_images();
    }
}

TEST_F(StartupTest, ShutdownAfterAFailedStartCopesWithNothingCreated)
{
    setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
    run_program_once();
    EXPECT_EQ(expected_shutdown(0, false), hooks::shutdown_trace());
}

TEST_F(StartupTest, ShutdownAfterAFailedLoadFreesWhatLoadedBeforeTheRenderer)
{
    const std::vector<std::function<void()>> failures = {
        [] { fs::remove("pngs/game_screen.png"); },
        [] { hooks::faults().refuse_texture = 15; },  // the letters sheet, loaded last
    };
    for (const auto& fail : failures) {
        hooks::faults() = hooks::Faults{};
        fail();
        run_program_once();
        EXPECT_EQ(expected_shutdown(14, true), hooks::shutdown_trace());
        harness::restore_images();
    }
}

TEST_F(StartupTest, EveryLineReachesAPipeAtOnceWhateverTheRuntimeBuffers)
{
    // Standard output into a pipe, fully buffered as the C runtime starts it,
    // and line buffering that is full buffering, as in Microsoft's runtime.
    hooks::line_buffering_is_full() = true;
    int pipe_ends[2] = {-1, -1};
    ASSERT_EQ(0, pipe(pipe_ends));
    fcntl(pipe_ends[0], F_SETFL, O_NONBLOCK);
    std::fflush(stdout);
    const int saved = dup(fileno(stdout));
    dup2(pipe_ends[1], fileno(stdout));
    std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);

    std::string arrived;  // what the pipe held once the first menu frame was shown
    harness::run_script({{},
                         {[&arrived, &pipe_ends] {
                              char bytes[256];
                              for (ssize_t n; (n = read(pipe_ends[0], bytes, sizeof bytes)) > 0;) {
                                  arrived.append(bytes, static_cast<size_t>(n));
                              }
                          },
                          harness::quit()}});
    const int status = run_program();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    EXPECT_EQ(0, status);
    EXPECT_EQ("initialize complete!\nload media complete!\n", arrived)
        << "what reached the pipe while the game ran";
}

TEST_F(StartupTest, ACloseRequestEndsTheProgramAfterOneMoreMenuFrame)
{
    harness::run_script({{}, {harness::quit(), harness::move_to(100, 380)}});
    int status = -1;
    {
        harness::CapturedStdout out;
        status = run_program();
    }
    EXPECT_EQ(0, status);
    ASSERT_EQ(2u, harness::frames().size()) << "frames presented";
}

}  // namespace
