// The difficulty screen (see difficulty.hpp).
#include "screens/difficulty.hpp"

#include <SDL.h>

#include <string>

#include "access/focus.hpp"
#include "access/input.hpp"
#include "game/play.hpp"
#include "game/words.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/log.hpp"
#include "screens/back.hpp"

namespace hangman {

namespace {

struct Level {
    Button* button;
    const char* pressed_line;
    int difficulty;
};

const Level levels[] = {
    {&easy_button, "easy button has been pressed.\n", 1},
    {&med_button, "med button has been pressed.\n", 2},
    {&hard_button, "hard button has been pressed.\n", 3},
};

// Feeds the event to the level buttons in order; the level pressed, by the
// mouse or as `chosen` by the keyboard, or null.
const Level* pressed_level(const SDL_Event& event, const Button* chosen)
{
    for (const Level& level : levels) {
        if (take_press(*level.button, event, chosen)) {
            return &level;
        }
    }
    return nullptr;
}

void draw_difficulty_screen(const Focus& focus)
{
    clear_frame();
    difficulty_screen_texture.render(0, 0);
    for (const Level& level : levels) {
        level.button->render();
    }
    back_button.render();
    draw_focus(focus);
    present_frame();
}

}  // namespace

bool run_difficulty_screen()
{
    bool running = true;
    Focus focus{
        "Choose a level", {&easy_button, &med_button, &hard_button, &back_button}, &back_button};
    while (running) {
        SDL_Event event;
        while (next_event(event, true)) {
            if (event.type == SDL_QUIT) {
                return true;
            }
            const Button* chosen = focus_event(focus, event);
            if (const Level* level = pressed_level(event, chosen)) {
                if (dev_mode) {
                    log("%s", level->pressed_line);
                }
                // The game takes over the rest of the queue; its result is ours.
                const std::string word = pick_word(level->difficulty);
                return play_game(word);
            }
            if (back_pressed(event, chosen)) {
                running = false;  // one more frame is drawn first
            }
        }
        draw_difficulty_screen(focus);
    }
    return false;
}

}  // namespace hangman
