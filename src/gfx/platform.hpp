// What the desktop and the web page do differently: platform.cpp holds the
// desktop's, platform_web.cpp the web page's. Everything else is shared.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace hangman {

struct Button;
struct Texture;

// Settings SDL reads when it starts; call before SDL_Init. On the desktop:
// on a scaled Windows display the window keeps its size in points and is
// drawn at the display's pixels. Their results are not examined: the game
// starts without them.
void platform_prepare();

// The window's flags besides SDL_WINDOW_SHOWN: resizable and high-DPI on the
// desktop; none on the web page, which sizes the canvas itself.
Uint32 platform_window_flags();

// Switches the window between fullscreen at the desktop's resolution and a
// window; false when the window system refused. The web page leaves that to
// the browser: nothing happens, and the result is true.
bool platform_toggle_fullscreen();

// Sleeps until an event arrives and takes it into `event`; false when the
// event system failed.
bool platform_wait_event(SDL_Event& event);

// Ends the program with `status`, the value main() returns. On the web page
// a main that has slept returns to nobody, so the program is ended here.
int platform_end(int status);

// Called between the steps of start-up and after each image it loads: the
// web page gets the thread back for a moment, so that starting is no single
// long task. Nothing on the desktop.
void platform_pause();

// What each frame shows, for the web page's keyboard play and screen readers
// (the page names the screen, its buttons, the game's progress); nothing on
// the desktop. A texture drawn into the frame, whole or through `clip`:
void platform_drew(const Texture& texture, const SDL_Rect* clip);
// A button drawn into the frame:
void platform_drew_button(const Button& button);
// The game drawn into the frame: its word, the flag of each letter found, the
// tries left and the letter indexes guessed, in order:
void platform_drew_game(const std::string& word, const std::vector<unsigned char>& revealed,
                        int tries, const int* guessed, int guess_count);
// The frame has been presented:
void platform_presented();

}  // namespace hangman
