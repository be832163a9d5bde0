// What the game says for players who cannot see it, in the same words on
// every platform: each screen and its buttons as it comes into view, the
// focused button as it changes, the letter staged, each guess with the word
// as found so far, and the result. The desktop speaks through the system's
// speech (speech-dispatcher, SAPI), the web page puts the texts into its
// live region. Nothing here ever prints a console line.
//
// Speech is on when the system says a screen reader is running, unless
// HANGMAN_SPEECH is "on" or "off"; F2, or a controller's Back button,
// switches it at any time and says so.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "access/focus.hpp"

namespace hangman {

// A game as the player knows it.
struct GameView {
    const std::string& word;
    const std::vector<unsigned char>& revealed;  // a flag for each letter found
    int tries;                                   // wrong guesses left
    const int* guessed;                          // letter indexes, in the order guessed
    int guess_count;
};

enum class Guess { found, missed, repeated };

// Decides whether to speak (the setting, or the system); call after SDL_Init.
void start_speech();

// Stops speaking and lets the system's speech go. Safe to repeat.
void stop_speech();

// Speaks what was said while frames that are now presented were drawn, so
// that what is heard is on screen; what the next frame will show waits.
void speak_shown();

// The window's close was requested: what is still to be said is dropped, and
// nothing more is said, since nobody sees the game any more.
void close_requested();

// True, after acting on it, for the key or controller button that switches
// speech on and off (F2, Back); the screens never see it.
bool take_speech_switch(const SDL_Event& event);

// True while the game speaks.
bool speech_on();

// The screen that `focus` belongs to, with its buttons, unless it is the
// screen told last.
void say_screen(const Focus& focus);

// The button that the focus has moved to, or whose state changed.
void say_button(const Button& button);

// A new game, of `view`'s word.
void say_game(const GameView& view);

// The letter staged for the next guess (1 to 26), or that none is (0).
void say_letter(int letter);

// A guess of `letter` and what it did, then the game as it now stands.
void say_guess(int letter, Guess outcome, const GameView& view);

// The end of the game, won or lost, and how to go on.
void say_end(bool won, const GameView& view);

}  // namespace hangman
