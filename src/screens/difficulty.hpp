// The difficulty screen: Easy, Medium and Hard each play one game with a word
// of that level; Back returns to the main menu.
#pragma once

namespace hangman {

// Runs the screen; true when the window's close was requested (here or in the
// game played from it), false to go back to the main menu.
bool run_difficulty_screen();

}  // namespace hangman
