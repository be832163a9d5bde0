// The application shell: start-up, the main menu (the outermost screen loop)
// and shutdown, run in that order by run_program().
#pragma once

namespace hangman {

// Runs the whole program; returns the exit status: 0 after a normal close,
// 1 when start-up or loading failed.
int run_program();

// Starts SDL, the window, the vsync renderer, SDL_image and SDL_ttf, printing
// a line for each failure, gives the window its icon, and starts game
// controllers and speech (silently, as far as they go); false when the game
// cannot run.
bool init();

// Runs the main menu until a close request ends the program.
void run_main_menu();

// Stops speech and the controllers, frees the media, destroys the renderer
// and window and shuts the libraries down. Copes with anything that was
// never created.
void close();

}  // namespace hangman
