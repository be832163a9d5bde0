// The drawing steps every screen loop shares: starting a frame, and
// presenting it at the display's pace even where vertical sync does not
// hold, scaled to fill the window. (Taking the events is access/input.hpp's.)
#pragma once

#include <SDL.h>

namespace hangman {

// The colour around the picture in a window of another shape: the board
// colour at the edge of every screen of the artwork.
constexpr SDL_Color letterbox_colour = {35, 49, 58, 255};

// True when the window is neither hidden nor minimised.
bool window_visible();

// Starts a frame: clears the picture, 640 x 480, to opaque white.
void clear_frame();

// Presents the frame, filling the window with the picture at the largest
// 4 : 3 size that fits, centred on the letterbox colour; then, with pacing
// on, sleeps the rest of one display refresh (60 Hz when the display does
// not say) if the previous frame was presented less than that ago. With
// working vsync this never sleeps.
void present_frame();

// How many frames have been presented since the program started: what was
// drawn before the last of them is on screen.
unsigned long frames_presented();

// Where the picture lies in the window's pixels (`output` by `output_height`):
// the largest 4 : 3 rectangle that fits, centred.
SDL_Rect picture_view(int output_width, int output_height);

// The pointer's position in the picture's coordinates, from SDL's pointer
// state in the window; outside 0..639 and 0..479 over the letterbox, and
// (-1, -1) in a window too small to show any of the picture.
SDL_Point pointer_in_picture();

// Turns the pacing of present_frame on (the default) or off; loops that must
// run frames back to back, such as the test suite's, turn it off.
void set_frame_pacing(bool on);

// Frees the textures that scaling the picture needs; before the renderer goes.
void free_frame();

}  // namespace hangman
