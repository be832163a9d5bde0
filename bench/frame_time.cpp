// frame_time: CPU and wall time to run one frame of each screen, with the
// game's real loops under SDL's offscreen driver (no vsync, and pacing off, so
// frames run back to back). Before each present one pixel is read back, which
// waits until the renderer has really drawn the frame: the figures are the
// cost of drawing, not of queuing the drawing. Prints a table; asserts nothing.
//
//   frame_time [frames per screen]      (run from the folder with pngs/)
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "game/play.hpp"
#include "gfx/media.hpp"
#include "screens/difficulty.hpp"
#include "screens/options.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

namespace {

// Reading a pixel back makes the GL driver finish every queued drawing call.
void finish_drawing()
{
    Uint32 pixel = 0;
    const SDL_Rect one = {0, 0, 1, 1};
    SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
}

double cpu_seconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Figure {
    const char* screen;
    size_t frames;
    double cpu_us;
    double wall_us;
};

// Runs `loop` through `frames` frames that each carry a little input.
Figure measure(const char* screen, int frames, harness::Batch (*input)(int), void (*loop)())
{
    std::vector<harness::Batch> script;
    for (int f = 0; f < frames; ++f) {
        script.push_back(input(f));
    }
    harness::run_script(script);
    hooks::set_before_present_callback(finish_drawing);
    const double cpu_start = cpu_seconds();
    const auto wall_start = std::chrono::steady_clock::now();
    loop();
    const double cpu = cpu_seconds() - cpu_start;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    const size_t presented = harness::frames().size();
    return {screen, presented, cpu * 1e6 / static_cast<double>(presented),
            wall * 1e6 / static_cast<double>(presented)};
}

harness::Batch wiggle(int f)
{
    return {harness::move_to(100 + f % 400, 100 + f % 300)};
}

harness::Batch typing(int f)
{
    // Cycles through letters without ever finishing the word "zzzzzzzzzzzzz".
    return {harness::key(SDLK_a + (f % 25)), harness::key(SDLK_BACKSPACE)};
}

}  // namespace

int main(int argc, char* argv[])
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 2000;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!init() || !load_media()) {
        std::fprintf(stderr, "frame_time: cannot start (run it from the folder with pngs/)\n");
        close();
        return 1;
    }
    dev_mode = false;

    std::vector<Figure> figures;
    figures.push_back(measure("main menu", frames, wiggle, [] { run_main_menu(); }));
    figures.push_back(measure("difficulty", frames, wiggle, [] { run_difficulty_screen(); }));
    figures.push_back(measure("options", frames, wiggle, [] { run_options_screen(); }));
    figures.push_back(
        measure("game (13 letters)", frames, typing, [] { play_game("zzzzzzzzzzzzz"); }));

    std::printf("%-20s %8s %16s %16s %12s\n", "screen", "frames", "CPU us/frame", "wall us/frame",
                "frames/s");
    for (const Figure& f : figures) {
        std::printf("%-20s %8zu %16.1f %16.1f %12.0f\n", f.screen, f.frames, f.cpu_us, f.wall_us,
                    1e6 / f.wall_us);
    }
    close();
    return 0;
}
