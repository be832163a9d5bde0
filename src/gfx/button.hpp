// Button: a sprite button fed with a screen's events. It shows the idle or
// hover look of its sheet and latches a mouse press over it until the screen
// that owns it acts on the press and clears the latch.
#pragma once

#include <SDL.h>

#include "gfx/texture.hpp"

namespace hangman {

struct Button {
    int x = 0;  // top-left corner of the sensitive rectangle, in window pixels
    int y = 0;
    int width = 0;  // size of one look on the sheet
    int height = 0;
    bool pressed = false;  // set by a mouse press inside; cleared by the screen
    const SDL_Rect* idle_clip = nullptr;
    const SDL_Rect* hover_clip = nullptr;
    const SDL_Rect* current_clip = nullptr;  // chosen by the last handled event
    Texture* sheet = nullptr;

    // Chooses the look for this event from the pointer position SDL knows now,
    // and sets `pressed` on a mouse-button press inside (far edges included).
    void handle_event(const SDL_Event& event);

    // Draws the current look at (x, y); the idle look before the first event.
    void render() const;

    // True when the point lies inside the button, both far edges included.
    bool contains(int px, int py) const;
};

// Feeds the event to the button; true when it pressed the button, and the
// latch is then cleared again for the screen to act on the press. `chosen`
// is the button that the keyboard or a controller pressed with this event
// (focus_event), if any.
bool take_press(Button& button, const SDL_Event& event, const Button* chosen = nullptr);

}  // namespace hangman
