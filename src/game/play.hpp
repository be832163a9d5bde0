// One game for one secret word: typing, clearing and submitting letters, the
// figure, the rows of guessed letters, the word row and the end pictures.
#pragma once

#include <string>

namespace hangman {

// Plays one game; true when the window's close was requested (the program
// must end), false when the player pressed a key on the win or lose picture.
bool play_game(std::string word);

}  // namespace hangman
