// Process entry. SDL.h renames main to SDL_main where the platform needs its
// own entry (SDL2main's console entry on Windows); the command line is unused.
#include <SDL.h>

#include "app/app.hpp"
#include "platform/platform.hpp"

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    return hangman::platform_end(hangman::run_program());
}
