// What the game tells players who cannot see it, in the same words on every
// platform: each screen and its buttons as it comes into view, the focused
// button as it changes, the letter chosen, each guess with the word as found
// so far, the result, and on request the game's state again. The words of
// each thing come from describe.hpp. Nothing here ever prints a console line.
//
// Two ways out, each text said once the frame that shows it is presented:
// - the accessibility tree (tree.hpp), which a screen reader reads in the
//   player's own voice and braille: it shows the screens and the focus
//   itself, and is told the rest as announcements;
// - the game's own voice (speech-dispatcher, SAPI; on the web page, its
//   live region), which says everything. It is on where HANGMAN_SPEECH says
//   so, or where a screen reader runs that cannot read the tree; F2, or a
//   controller's Back button, switches it at any time and says so. A screen
//   reader that comes or goes takes back what F2 chose, so that two voices
//   never speak at once unless HANGMAN_SPEECH asks for it.
#pragma once

#include <SDL.h>

#include "access/describe.hpp"
#include "access/focus.hpp"

namespace hangman {

enum class Guess { found, missed, repeated };

// Decides whether the game speaks for itself (the setting, or the system)
// and offers the accessibility tree; call after SDL_Init.
void start_speech();

// Stops speaking, lets the system's speech go and withdraws the tree. Safe
// to repeat.
void stop_speech();

// Hands on what was said while frames that are now presented were drawn,
// so that what is heard is on screen; what the next frame will show waits.
// `waiting`: the game is about to sleep until an event, drawing nothing, so
// everything said is on screen already.
void speak_shown(bool waiting = false);

// The window's close was requested: what is still to be said is dropped, and
// nothing more is said, since nobody sees the game any more.
void close_requested();

// True, after acting on it, for the key or controller button that switches
// the game's own voice on and off (F2, Back); the screens never see it.
bool take_speech_switch(const SDL_Event& event);

// True while the game speaks with its own voice.
bool speech_on();

// The screen that `focus` belongs to, drawn this frame: its buttons, and
// which has the focus. Told when it has just come into view.
void say_screen(const Focus& focus);

// The button that the focus has moved to.
void say_button(const Button& button);

// A switch that was just switched: its name and new state.
void say_switch(const Button& button);

// A new game, of `view`'s word, and how to play it with the device that
// pressed last.
void say_game(const GameView& view);

// The game as this frame shows it (for the tree, and for "Speech on").
void show_game(const GameView& view);

// The letter chosen for the next guess (1 to 26), or that none is (0).
void say_letter(int letter);

// A guess of `letter` and what it did, then the word as it now stands.
void say_guess(int letter, Guess outcome, const GameView& view);

// The game's whole state again: the word, the tries, the letters guessed
// and the one chosen.
void say_state(const GameView& view);

// The end of the game, won or lost, and how to go on.
void say_end(bool won, const GameView& view);

}  // namespace hangman
