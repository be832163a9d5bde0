// The events the screen loops take (see input.hpp).
#include "access/input.hpp"

#include "access/controller.hpp"
#include "access/focus.hpp"
#include "access/speech.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/platform.hpp"

namespace hangman {

namespace {

bool controller_last = false;  // the last press was a controller's

void watch_device(const SDL_Event& event)
{
    if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        controller_last = true;
    } else if (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN) {
        controller_last = false;
    }
}

// True, after acting on it, for a key that belongs to the window rather than
// to the screens: F11 and Alt+Enter switch fullscreen on and off, and Alt
// alone is kept for Alt+Enter, so that neither counts as a screen's key.
bool take_window_key(const SDL_Event& event)
{
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) {
        return false;
    }
    const SDL_Keycode key = event.key.keysym.sym;
    const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
    const bool toggle = key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER));
    if (!toggle && key != SDLK_LALT && key != SDLK_RALT) {
        return false;
    }
    if (toggle && event.type == SDL_KEYDOWN && event.key.repeat == 0) {
        platform_toggle_fullscreen(window);
    }
    return true;
}

// True, after acting on it, for an event that belongs to the program rather
// than to a screen: the window's keys, the speech switch, a controller's
// comings and goings. A push of a controller's stick comes out as its D-pad.
bool take_program_event(SDL_Event& event)
{
    watch_pointer(event);
    watch_device(event);
    if (event.type == SDL_QUIT) {
        close_requested();
    }
    return take_window_key(event) || take_speech_switch(event) || take_controller_event(event);
}

// What comes before every event: the texts of frames now on screen are
// told (all of them before a sleep, which draws nothing), and the focus ring
// follows the page's keyboard (on the web).
void before_event(bool waiting)
{
    bool arrived = false;
    if (platform_keyboard_moved(arrived)) {
        show_focus(arrived);
    }
    speak_shown(waiting);
}

}  // namespace

bool poll_event(SDL_Event& event)
{
    before_event(false);
    while (SDL_PollEvent(&event) != 0) {
        if (!take_program_event(event)) {
            return true;
        }
    }
    return false;
}

bool wait_event(SDL_Event& event)
{
    for (;;) {
        before_event(true);
        if (!platform_wait_event(event)) {
            return false;
        }
        if (!take_program_event(event)) {
            return true;
        }
    }
}

bool pressed_by_controller()
{
    return controller_last;
}

bool next_event(SDL_Event& event, bool may_wait)
{
    // The event is handled by the caller like any other; the drain goes on
    // until the window is visible again and the queue is empty.
    return poll_event(event) || (may_wait && !window_visible() && wait_event(event));
}

}  // namespace hangman
