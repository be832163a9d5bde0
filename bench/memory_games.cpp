// memory_games: plays many games through the real difficulty screen and game
// loop and prints the peak resident memory after 10 games and after all of
// them. Asserts nothing. Run it in a real window (under Xvfb, for example):
// the offscreen driver's GL buffers grow on their own when frames are
// presented back to back without vsync.
//
//   memory_games [games]      (run from the folder with pngs/)
#include <SDL.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "app/app.hpp"
#include "gfx/media.hpp"
#include "screens/difficulty.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

namespace {

long peak_rss_kib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One easy game of "frog", won, then a key back.
void play_one_game()
{
    harness::Batch guesses;
    for (SDL_Keycode letter : {SDLK_f, SDLK_r, SDLK_o, SDLK_g}) {
        guesses.push_back(harness::key(letter));
        guesses.push_back(harness::key(SDLK_SPACE));
    }
    harness::run_script({{harness::press(300, 230)}, guesses, {harness::key(SDLK_x)}});
    run_difficulty_screen();
}

}  // namespace

int main(int argc, char* argv[])
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (!init() || !load_media()) {
        std::fprintf(stderr, "memory_games: cannot start (run it from the folder with pngs/)\n");
        close();
        return 1;
    }
    harness::watch_frames(nullptr, false);
    hooks::random().fixed_rand = 0;  // "frog" at the easy level

    long after_ten = 0;
    for (int game = 1; game <= games; ++game) {
        play_one_game();
        if (game == 10) {
            after_ten = peak_rss_kib();
        }
    }
    const long after_all = peak_rss_kib();
    std::printf("%-34s %12s\n", "peak resident memory", "KiB");
    std::printf("%-34s %12ld\n", "after 10 games", after_ten);
    std::printf("after %-28d %12ld\n", games, after_all);
    std::printf("%-34s %11.1f%%\n", "growth",
                100.0 * double(after_all - after_ten) / double(after_ten));
    close();
    return 0;
}
