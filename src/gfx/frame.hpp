// The steps every screen loop shares: taking the next event (asleep while
// the window cannot be seen), starting a frame, and presenting it at the
// display's pace even where vertical sync does not hold.
#pragma once

#include <SDL.h>

namespace hangman {

// Takes the next queued event; true when `event` holds one. While the window
// is hidden or minimised and `may_wait` is true, sleeps in SDL's event wait
// until something arrives, so nothing is drawn that nobody could see. False
// means the queue is empty and the frame can be drawn (or waiting failed).
bool next_event(SDL_Event& event, bool may_wait);

// Sleeps until an event arrives and takes it into `event`; false when the
// event system failed. (wait.cpp on the desktop, wait_web.cpp on the web.)
bool wait_event(SDL_Event& event);

// True when the window is neither hidden nor minimised.
bool window_visible();

// Starts a frame: clears the whole window to opaque white.
void clear_frame();

// Presents the frame, then, with pacing on, sleeps the rest of one display
// refresh (60 Hz when the display does not say) if the previous frame was
// presented less than that ago. With working vsync this never sleeps.
void present_frame();

// Turns the pacing of present_frame on (the default) or off; loops that must
// run frames back to back, such as the test suite's, turn it off.
void set_frame_pacing(bool on);

}  // namespace hangman
