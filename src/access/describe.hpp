// What each thing on screen is called, in the words every player hears or
// reads: each button's name, kind and what it does, and a game as the
// player knows it. Speech and the accessibility tree both take them from
// here, so that a screen reader and the game's own voice say the same.
#pragma once

#include <string>
#include <vector>

#include "gfx/button.hpp"

namespace hangman {

// A button in words.
struct ButtonWords {
    const char* name;         // "Easy"
    const char* description;  // what it does or holds ("4 letters"), or ""
    bool toggle;              // a switch, on or off, rather than a button
};

// The words of one of the catalogue's buttons; an empty name for any other.
ButtonWords words_of(const Button& button);

// True while `button` is a switch that is on (developer mode).
bool switched_on(const Button& button);

// The button as the focus moving to it says it: "Easy, button, 4 letters",
// "Developer mode, switch, off. Prints the secret word ...".
std::string button_text(const Button& button);

// A game as the player knows it.
struct GameView {
    const std::string& word;
    const std::vector<unsigned char>& revealed;  // a flag for each letter found
    int tries;                                   // wrong guesses left
    const int* guessed;                          // letter indexes, in the order guessed
    int guess_count;
    int staged;  // the letter chosen for the next guess (1 to 26), or 0
};

// The letter index 1 to 26 as its capital.
char letter_name(int letter);

// "The word: F, 3 unknown letters": found letters by name, an unknown one
// as "blank", and a run of three or more as their count.
std::string word_text(const GameView& view);

// "2 of 4 letters found"
std::string found_text(const GameView& view);

// "5 tries left", "1 try left"
std::string tries_text(const GameView& view);

// "Guessed: O, X", or "Nothing guessed yet"
std::string guessed_text(const GameView& view);

// "Your letter: O", or "No letter chosen"
std::string staged_text(const GameView& view);

// "3 letters", "1 letter": a count and its noun, singular for one.
std::string count(int number, const char* one, const char* many);

}  // namespace hangman
