// Keyboard and controller play of a screen's buttons. Each screen of buttons
// keeps a Focus: Tab and Shift+Tab step through its buttons, the arrow keys
// and the D-pad go to the nearest button that way, Enter, Space and the A
// button press the focused one as a click at its centre would, and Escape
// and B press Back. A ring around the focused button shows from the first
// such key, on every screen, until the mouse moves; so a mouse player's
// frames never have it.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <vector>

#include "gfx/button.hpp"

namespace hangman {

struct Focus {
    const char* screen;            // the screen's name, as a screen reader is told it
    std::vector<Button*> buttons;  // in Tab order
    Button* back = nullptr;        // what Escape and B press; none on the main menu
    std::size_t current = 0;       // the focused button
};

// Moves the focus on a navigation key or D-pad press; returns the button that
// the event presses (Enter, Space and A the focused one, Escape and B Back),
// or nullptr.
Button* focus_event(Focus& focus, const SDL_Event& event);

// Ends the drawing of a screen's frame: the ring around the focused button
// while the keys are in use, and the screen told to a screen reader when it
// has just come into view.
void draw_focus(const Focus& focus);

// Watches every event: a pointer motion hides the ring.
void watch_pointer(const SDL_Event& event);

// Shows or hides the ring, as a navigation key or the pointer would (shown,
// the focused button is told): the web page shows it when Tab brings the
// keyboard to the game, and hides it when the keyboard goes on to the page.
void show_focus(bool shown);

// True while the ring is shown.
bool focus_shown();

}  // namespace hangman
