// The accessibility tree of the window (platform/tree.hpp serves it): what
// each frame shows, a screen's buttons with the focus or a game's state in
// words, handed to the platform once that frame is presented, and only when
// it changed.
#pragma once

#include <SDL.h>

#include "access/describe.hpp"
#include "access/focus.hpp"

namespace hangman {

// Offers the tree to the system's screen readers; false where there is no
// accessibility API to serve it, and the game plays on without.
bool start_tree();

// Withdraws the tree. Safe to repeat.
void stop_tree();

// The screen of buttons that `focus` belongs to, as this frame shows it.
void tree_menu(const Focus& focus);

// The game as this frame shows it.
void tree_game(const GameView& view);

// The end picture, won or lost, as this frame shows it.
void tree_end(bool won, const GameView& view);

// Hands the platform the tree of the last frame presented, if it changed.
void tree_shown();

// The button of `focus`'s screen that a screen reader pressed with `event`
// (its own way of clicking), or nullptr.
Button* tree_press(const Focus& focus, const SDL_Event& event);

}  // namespace hangman
