// startup_probe: the real game, which at its first presented frame prints the
// microseconds since main() and the peak resident memory in KiB on standard
// error, then asks itself to close. The game's console text stays as it is.
//
//   startup_probe     (run from the folder with pngs/)
#include <SDL.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "app/app.hpp"

using namespace hangman;

namespace {
std::chrono::steady_clock::time_point started;
bool reported = false;
}  // namespace

extern "C" {
void __real_SDL_RenderPresent(SDL_Renderer* renderer);

void __wrap_SDL_RenderPresent(SDL_Renderer* renderer)
{
    __real_SDL_RenderPresent(renderer);
    if (reported) {
        return;
    }
    reported = true;
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "%lld %ld\n", static_cast<long long>(micros), usage.ru_maxrss);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}
}

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    started = std::chrono::steady_clock::now();
    return run_program();
}
