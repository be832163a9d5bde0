// The main menu: Start and Options over the menu picture, the animated figure
// (still where the system asks for less motion) and, in developer mode, a
// sprite test overlay cycling through the letters and digits. It is the
// outermost screen loop; other screens run inside it.
#include <SDL.h>

#include "access/focus.hpp"
#include "access/input.hpp"
#include "app/app.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/log.hpp"
#include "platform/platform.hpp"
#include "platform/settings.hpp"
#include "screens/difficulty.hpp"
#include "screens/options.hpp"

namespace hangman {

namespace {

constexpr int figure_cycle = 168;                       // 7 figure stages of 24 frames each
constexpr int letter_cycle = 270;                       // 27 letter clips of 10 frames each
constexpr int still_figure = hung_boi_stage_count - 1;  // the whole figure

// True when the figure is to stand still: as HANGMAN_REDUCED_MOTION says
// (`set`, `still`), or else as the system asks now, which may change while
// the menu shows.
bool figure_still(bool set, bool still)
{
    return set ? still : platform_reduced_motion();
}

// Handles one event; returns the new quit flag.
bool handle_menu_event(const SDL_Event& event, bool quit, Focus& focus)
{
    if (event.type == SDL_QUIT) {
        quit = true;
    }

    const Button* chosen = focus_event(focus, event);
    if (take_press(start_button, event, chosen)) {
        if (dev_mode) {
            log("start button has been pressed.\n");
        }
        // The press is used up by the screen it opened: it is not handed on
        // to Options, wherever the pointer rests when that screen returns.
        return run_difficulty_screen();
    }

    if (take_press(options_button, event, chosen)) {
        if (dev_mode) {
            log("options button has been pressed.\n");
        }
        quit = run_options_screen();
    }
    return quit;
}

void draw_sprite_overlay(int figure_frame, int letter_frame)
{
    const int letter = letter_frame / 10;
    alpha_texture.render(600, 50, &letter_clips[letter]);
    alpha_texture.render(550, 50, &small_letter_clips[letter]);
    // figure_frame / 10 runs to 16; the slot shows its last digit.
    alpha_texture.render(430, 50, &digit_clips[(figure_frame / 10) % digit_clip_count]);
}

void draw_main_menu(const Focus& focus, int figure, int figure_frame, int letter_frame)
{
    clear_frame();
    menu_screen_texture.render(0, 0);
    start_button.render();
    options_button.render();
    hung_boi_texture.render(293, 150, &hung_boi_clips[figure]);
    if (dev_mode) {
        draw_sprite_overlay(figure_frame, letter_frame);
    }
    draw_focus(focus);
    present_frame();
}

}  // namespace

void run_main_menu()
{
    bool quit = false;
    int figure_frame = 0;
    int letter_frame = 0;
    bool still = false;
    const bool set = setting("HANGMAN_REDUCED_MOTION", still);
    Focus focus{"Main menu", {&start_button, &options_button}};

    while (!quit) {
        SDL_Event event;
        // While the window is hidden the drain sleeps, and the figure and
        // overlay stay where they were.
        while (next_event(event, !quit)) {
            quit = handle_menu_event(event, quit, focus);
        }
        draw_main_menu(focus, figure_still(set, still) ? still_figure : figure_frame / 24,
                       figure_frame, letter_frame);
        figure_frame = (figure_frame + 1 < figure_cycle) ? figure_frame + 1 : 0;
        letter_frame = (letter_frame + 1 < letter_cycle) ? letter_frame + 1 : 0;
    }
}

}  // namespace hangman
