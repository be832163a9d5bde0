// The events the screen loops take: the next one, asleep while the window
// cannot be seen, without those that belong to the program rather than to a
// screen. F11 and Alt+Enter switch fullscreen on and off (Alt alone is kept
// for Alt+Enter), F2 and a controller's Back switch speech, and controllers
// come and go; none of them reaches a screen. A push of a controller's left
// stick comes out as its D-pad, and a pointer motion hides the focus ring.
// Taking an event is also when what the last frame showed is told.
#pragma once

#include <SDL.h>

namespace hangman {

// Takes the next queued event; true when `event` holds one. While the window
// is hidden or minimised and `may_wait` is true, sleeps in SDL's event wait
// until something arrives, so nothing is drawn that nobody could see. False
// means the queue is empty and the frame can be drawn (or waiting failed).
bool next_event(SDL_Event& event, bool may_wait);

// Takes the next queued event without waiting; false when the queue is empty.
bool poll_event(SDL_Event& event);

// Sleeps until an event arrives and takes it into `event`; false when the
// event system failed. (The platform's wait, see platform/platform.hpp.)
bool wait_event(SDL_Event& event);

// True when the last key, click or button that pressed anything was a game
// controller's: what the game tells a player fits the device in hand.
bool pressed_by_controller();

}  // namespace hangman
