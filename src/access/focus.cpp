// Keyboard and controller play of a screen's buttons (see focus.hpp).
#include "access/focus.hpp"

#include <climits>
#include <cstdlib>

#include "access/speech.hpp"
#include "access/tree.hpp"
#include "gfx/media.hpp"

namespace hangman {

namespace {

// The ring: a band of the artwork's chalk yellow a little way around the
// button, on a dark halo that keeps it apart from whatever lies beneath.
constexpr SDL_Color ring_colour = {242, 177, 52, 255};
constexpr SDL_Color halo_colour = {27, 38, 45, 128};
constexpr int ring_gap = 3;
constexpr int ring_width = 3;
constexpr int halo_width = 8;

bool shown = false;
bool tell_focused = false;  // the focused button is to be told with the next frame

enum class Move { none, next, previous, left, right, up, down, press, back };

Move keyboard_move(const SDL_KeyboardEvent& key)
{
    const bool again = key.repeat != 0;
    switch (key.keysym.sym) {
        case SDLK_TAB:
            return (key.keysym.mod & KMOD_SHIFT) != 0 ? Move::previous : Move::next;
        case SDLK_LEFT:
            return Move::left;
        case SDLK_RIGHT:
            return Move::right;
        case SDLK_UP:
            return Move::up;
        case SDLK_DOWN:
            return Move::down;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            return again ? Move::none : Move::press;
        case SDLK_ESCAPE:
            return again ? Move::none : Move::back;
        default:
            return Move::none;
    }
}

Move controller_move(Uint8 button)
{
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return Move::left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return Move::right;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return Move::up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return Move::down;
        case SDL_CONTROLLER_BUTTON_A:
            return Move::press;
        case SDL_CONTROLLER_BUTTON_B:
            return Move::back;
        default:
            return Move::none;
    }
}

Move move_of(const SDL_Event& event)
{
    if (event.type == SDL_KEYDOWN) {
        return keyboard_move(event.key);
    }
    if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        return controller_move(event.cbutton.button);
    }
    return Move::none;
}

SDL_Point centre(const Button& button)
{
    return {button.x + button.width / 2, button.y + button.height / 2};
}

// The button nearest the focused one in the direction (dx, dy), weighing
// distance to the side twice; the focused one when none lies that way.
std::size_t neighbour(const Focus& focus, int dx, int dy)
{
    const SDL_Point from = centre(*focus.buttons[focus.current]);
    std::size_t best = focus.current;
    long best_score = LONG_MAX;
    for (std::size_t i = 0; i < focus.buttons.size(); ++i) {
        const SDL_Point to = centre(*focus.buttons[i]);
        const long along = dx != 0 ? dx * (to.x - from.x) : dy * (to.y - from.y);
        const long aside = std::labs(dx != 0 ? to.y - from.y : to.x - from.x);
        if (along > 0 && along + 2 * aside < best_score) {
            best = i;
            best_score = along + 2 * aside;
        }
    }
    return best;
}

std::size_t moved(const Focus& focus, Move move)
{
    const std::size_t count = focus.buttons.size();
    switch (move) {
        case Move::next:
            return (focus.current + 1) % count;
        case Move::previous:
            return (focus.current + count - 1) % count;
        case Move::left:
            return neighbour(focus, -1, 0);
        case Move::right:
            return neighbour(focus, 1, 0);
        case Move::up:
            return neighbour(focus, 0, -1);
        case Move::down:
            return neighbour(focus, 0, 1);
        default:
            return focus.current;
    }
}

// `area` moved, as little as it takes, to lie whole inside the picture.
SDL_Rect inside_picture(SDL_Rect area)
{
    area.x = SDL_clamp(area.x, 0, window_width - area.w);
    area.y = SDL_clamp(area.y, 0, window_height - area.h);
    return area;
}

// Fills the band between `outer` and `outer` shrunk by `width` on every side.
void fill_band(const SDL_Rect& outer, int width, SDL_Color colour)
{
    const SDL_Rect inner = {outer.x + width, outer.y + width, outer.w - 2 * width,
                            outer.h - 2 * width};
    const SDL_Rect sides[] = {
        {outer.x, outer.y, outer.w, width},
        {outer.x, inner.y + inner.h, outer.w, width},
        {outer.x, inner.y, width, inner.h},
        {inner.x + inner.w, inner.y, width, inner.h},
    };
    SDL_SetRenderDrawBlendMode(renderer,
                               colour.a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, colour.r, colour.g, colour.b, colour.a);
    SDL_RenderFillRects(renderer, sides, 4);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

}  // namespace

Button* focus_event(Focus& focus, const SDL_Event& event)
{
    if (Button* pressed = tree_press(focus, event)) {
        return pressed;  // a screen reader's click
    }
    const Move move = move_of(event);
    if (move == Move::none || focus.buttons.empty()) {
        return nullptr;
    }
    if (move == Move::back) {
        shown = shown || focus.back != nullptr;
        return focus.back;
    }
    if (move == Move::press) {
        shown = true;
        return focus.buttons[focus.current];
    }
    // The first key shows where the focus is; the next ones move it.
    const std::size_t next = shown ? moved(focus, move) : focus.current;
    if (!shown || next != focus.current) {
        shown = true;
        focus.current = next;
        say_button(*focus.buttons[next]);
    }
    return nullptr;
}

void draw_focus(const Focus& focus)
{
    say_screen(focus);
    if (!shown || focus.buttons.empty()) {
        return;
    }
    if (tell_focused) {
        say_button(*focus.buttons[focus.current]);
        tell_focused = false;
    }
    // The ring lies a little way around the button, and whole inside the
    // picture: beside an edge (Back, at the top) it comes nearer the button.
    const Button& button = *focus.buttons[focus.current];
    const int ring_out = ring_gap + ring_width;
    const SDL_Rect ring =
        inside_picture({button.x - ring_out, button.y - ring_out, button.width + 2 * ring_out,
                        button.height + 2 * ring_out});
    const int halo_out = halo_width - ring_out;
    fill_band({ring.x - halo_out, ring.y - halo_out, ring.w + 2 * halo_out, ring.h + 2 * halo_out},
              halo_width, halo_colour);
    fill_band(ring, ring_width, ring_colour);
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
}

void watch_pointer(const SDL_Event& event)
{
    if (event.type == SDL_MOUSEMOTION) {
        shown = false;
    }
}

void show_focus(bool on)
{
    shown = on;
    tell_focused = on;
}

bool focus_shown()
{
    return shown;
}

}  // namespace hangman
