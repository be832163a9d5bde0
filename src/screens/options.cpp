// The options screen and the developer-mode toggle (see options.hpp).
#include "screens/options.hpp"

#include <SDL.h>

#include "access/focus.hpp"
#include "access/input.hpp"
#include "access/speech.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/log.hpp"
#include "screens/back.hpp"

namespace hangman {

namespace {

// Flips developer mode. At rest the toggle shows the current state; under
// the pointer it shows the state that a press would bring.
void toggle_dev_mode()
{
    dev_mode = !dev_mode;
    log("%s", dev_mode ? "dev_mode turned on.\n" : "dev_mode turned off.\n");
    dev_mode_button.idle_clip = &dev_mode_button_clips[dev_mode ? 1 : 0];
    dev_mode_button.hover_clip = &dev_mode_button_clips[dev_mode ? 0 : 1];
    say_switch(dev_mode_button);
}

void draw_options_screen(const Focus& focus)
{
    clear_frame();
    options_screen_texture.render(0, 0);
    back_button.render();
    dev_mode_button.render();
    draw_focus(focus);
    present_frame();
}

}  // namespace

bool run_options_screen()
{
    bool running = true;
    Focus focus{"Options", {&dev_mode_button, &back_button}, &back_button};
    while (running) {
        SDL_Event event;
        while (next_event(event, true)) {
            if (event.type == SDL_QUIT) {
                return true;
            }
            const Button* chosen = focus_event(focus, event);
            if (back_pressed(event, chosen)) {
                running = false;  // one more frame is drawn first
            }
            if (take_press(dev_mode_button, event, chosen)) {
                toggle_dev_mode();
            }
        }
        draw_options_screen(focus);
    }
    return false;
}

}  // namespace hangman
