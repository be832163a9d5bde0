// The options screen: the developer-mode toggle and Back to the main menu.
#pragma once

namespace hangman {

// Runs the screen; true when the window's close was requested, false to go
// back to the main menu.
bool run_options_screen();

}  // namespace hangman
