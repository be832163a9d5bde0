// What the platforms do differently, the lowest layer of the game: it knows
// nothing of the screens, the drawing or the focus. desktop.cpp holds what
// Linux and Windows share, linux.cpp and windows.cpp what only one of them
// does (speech, the screen reader, reduced motion, the window at start);
// web.cpp holds the web page's. Everything else is shared.
#pragma once

#include <SDL.h>

#include <string>

namespace hangman {

// Settings SDL reads when it starts; call before SDL_Init. On the desktop:
// on a scaled Windows display the window keeps its size in points and is
// drawn at the display's pixels. Their results are not examined: the game
// starts without them.
void platform_prepare();

// The window's flags besides SDL_WINDOW_SHOWN: resizable and high-DPI on the
// desktop; none on the web page, which sizes the canvas itself.
Uint32 platform_window_flags();

// Switches `window` between fullscreen at the desktop's resolution and a
// window; false when the window system refused. The web page leaves that to
// the browser: nothing happens, and the result is true.
bool platform_toggle_fullscreen(SDL_Window* window);

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

// A frame has been presented (the web page counts them, so that its tests
// can wait for the frame after their input). Nothing on the desktop.
void platform_presented();

// Called once `window` exists. On Windows, a window that came up minimised
// (the Start menu's shortcut starts the console minimised, and the first
// window of the program takes the same state) is restored and brought to the
// front. Nothing elsewhere.
void platform_window_created(SDL_Window* window);

// True when the system asks for less motion on screen: the desktop's setting
// (GNOME's through the settings portal, Windows' client-area animations),
// the browser's prefers-reduced-motion. Never waits: until the desktop has
// answered (on Linux it is asked in the background, and followed), false.
bool platform_reduced_motion();

// True, once, when the keyboard has come to the game (`arrived`) or gone on
// to something else since the last call: the web page tells it when Tab
// moves through the page. Never on the desktop, whose window has it all.
bool platform_keyboard_moved(bool& arrived);

// The game's own voice, for players who cannot see it (access/speech.hpp
// says what is said and when). True while the system says a screen reader
// runs: on Linux the accessibility bus's ScreenReaderEnabled, or an
// assistive technology following the focus (however it was started); on
// Windows SPI_GETSCREENREADER; always on the web page, whose live region
// says nothing without one. Never waits, and follows the system.
bool platform_screen_reader();
// Speaks `text`, cutting short whatever was being said, and opens the
// system's speech first where need be; nothing where there is none (no
// speech server or library), and the game is then silent. The web page puts
// the text into its live region. Called on the thread that speaks, where
// there is one, as is the next.
void platform_voice_say(const std::string& text);
// Lets the system's speech go.
void platform_voice_close();

// The screen now in view ("Main menu", "Game", ...): the web page shows its
// hint on the main menu only. Nothing on the desktop.
void platform_screen(const char* name);

}  // namespace hangman
