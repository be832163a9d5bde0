// Hit testing, looks and drawing of sprite buttons (see button.hpp).
#include "gfx/button.hpp"

#include "gfx/frame.hpp"

namespace hangman {

bool Button::contains(int px, int py) const
{
    return px >= x && px <= x + width && py >= y && py <= y + height;
}

void Button::handle_event(const SDL_Event& event)
{
    current_clip = idle_clip;
    if (event.type != SDL_MOUSEMOTION && event.type != SDL_MOUSEBUTTONDOWN) {
        return;
    }

    // The latest pointer position decides, not the one carried by the event:
    // an event may reach a button only after another screen has run.
    const SDL_Point mouse = pointer_in_picture();
    if (!contains(mouse.x, mouse.y)) {
        return;
    }
    current_clip = hover_clip;
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        pressed = true;
    }
}

void Button::render() const
{
    if (sheet == nullptr) {
        return;
    }
    // Before its first event a button shows its idle look, not the whole sheet.
    sheet->render(x, y, current_clip != nullptr ? current_clip : idle_clip);
}

bool take_press(Button& button, const SDL_Event& event, const Button* chosen)
{
    button.handle_event(event);
    if (!button.pressed && &button != chosen) {
        return false;
    }
    button.pressed = false;
    return true;
}

}  // namespace hangman
