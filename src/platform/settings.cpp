// The player's settings from the environment (see settings.hpp).
#include "platform/settings.hpp"

#include <SDL.h>

#include <cstdlib>
#include <initializer_list>

namespace hangman {

bool setting(const char* name, bool& on)
{
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return false;
    }
    for (const char* yes : {"on", "1", "true", "yes"}) {
        if (SDL_strcasecmp(value, yes) == 0) {
            on = true;
            return true;
        }
    }
    for (const char* no : {"off", "0", "false", "no"}) {
        if (SDL_strcasecmp(value, no) == 0) {
            on = false;
            return true;
        }
    }
    return false;
}

}  // namespace hangman
