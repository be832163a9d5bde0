// The shared Back button (see back.hpp).
#include "screens/back.hpp"

#include "gfx/media.hpp"
#include "platform/log.hpp"

namespace hangman {

bool back_pressed(const SDL_Event& event, const Button* chosen)
{
    if (!take_press(back_button, event, chosen)) {
        return false;
    }
    if (dev_mode) {
        log("back button has been pressed.\n");
    }
    return true;
}

}  // namespace hangman
