// The game screen (see play.hpp). All state of a game lives in one GameState
// made at entry; a frame draws from it and allocates nothing.
#include "game/play.hpp"

#include <SDL.h>

#include <climits>
#include <vector>

#include "access/input.hpp"
#include "access/speech.hpp"
#include "game/words.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/log.hpp"

namespace hangman {

namespace {

constexpr int max_tries = 6;
constexpr int letter_cell_width = 46;
constexpr int word_row_y = 280;

struct GameState {
    explicit GameState(std::string secret)
        : word(std::move(secret)),
          word_length(static_cast<long long>(word.size())),
          word_start_x((window_width - letter_cell_width * word_length) / 2),
          revealed(word.size(), 0)
    {
    }

    std::string word;
    long long word_length;
    long long word_start_x;  // x of the word row's first cell, centring the row
    int trys_remaining = max_tries;
    int guessed_letters[letter_clip_count] = {};  // distinct letters in the order guessed
    int guess_count = 0;
    std::vector<unsigned char> revealed;  // one flag per character of the word
    int selected_letter = 0;              // typed but not yet submitted; 0 for none
    int last_guessed = 0;                 // where a controller's next step starts from
    bool running = true;                  // false once the window's close is requested
};

GameView view_of(const GameState& game)
{
    return {game.word,        game.revealed,       game.trys_remaining, game.guessed_letters,
            game.guess_count, game.selected_letter};
}

void submit_letter(GameState& game, int letter)
{
    bool repeat = false;
    for (int i = 0; i < game.guess_count; ++i) {
        if (game.guessed_letters[i] == letter) {
            repeat = true;
            if (dev_mode) {
                log("repeat letter!\n");
            }
        }
    }

    if (!repeat) {
        game.guessed_letters[game.guess_count++] = letter;
        bool in_word = false;
        for (size_t i = 0; i < game.word.size(); ++i) {
            if (letter_index(game.word[i]) == letter) {
                if (dev_mode) {
                    log("letter is in word!\n");
                }
                game.revealed[i] = 1;
                in_word = true;
            }
        }
        // Several wrong letters may arrive in the last frame; none costs more
        // than the tries that are left.
        if (!in_word && game.trys_remaining > 0) {
            --game.trys_remaining;
        }
        say_guess(letter, in_word ? Guess::found : Guess::missed, view_of(game));
    } else {
        say_guess(letter, Guess::repeated, view_of(game));
    }

    if (dev_mode) {
        log("trys_remaining = %i\n", game.trys_remaining);
    }
    game.selected_letter = 0;
    game.last_guessed = letter;
}

// True for a key pressed alone to go with another (Shift, Ctrl, Alt, the
// system key, the locks): it does not leave an end picture.
bool modifier(SDL_Keycode key)
{
    switch (key) {
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
        case SDLK_LCTRL:
        case SDLK_RCTRL:
        case SDLK_LALT:
        case SDLK_RALT:
        case SDLK_LGUI:
        case SDLK_RGUI:
        case SDLK_MODE:
        case SDLK_CAPSLOCK:
        case SDLK_NUMLOCKCLEAR:
        case SDLK_SCROLLLOCK:
            return true;
        default:
            return false;
    }
}

void handle_key(GameState& game, const SDL_KeyboardEvent& event)
{
    const SDL_Keycode key = event.keysym.sym;
    const bool letter = key >= SDLK_a && key <= SDLK_z;
    if (!letter && key != SDLK_SPACE && key != SDLK_BACKSPACE && !modifier(key)) {
        if (event.repeat == 0) {
            say_state(view_of(game));  // any other key: the game's state again
        }
        return;
    }
    const int before = game.selected_letter;
    // A letter stays selected until it is cleared or submitted.
    if (game.selected_letter == 0) {
        game.selected_letter = letter ? key - SDLK_a + 1 : 0;
    }
    if (key == SDLK_BACKSPACE) {
        game.selected_letter = 0;
    } else if (game.selected_letter != 0 && key == SDLK_SPACE) {
        submit_letter(game, game.selected_letter);
        return;
    }
    if (game.selected_letter != before) {
        say_letter(game.selected_letter);
    }
}

// A controller: up and down step the staged letter through the alphabet,
// from the last one guessed when none is staged; A guesses it, B clears it,
// Y says the game's state again.
void handle_controller_button(GameState& game, Uint8 button)
{
    const int letters = letter_clip_count - 1;
    const int from = game.selected_letter != 0 ? game.selected_letter : game.last_guessed;
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            game.selected_letter = from % letters + 1;  // z goes round to a
            say_letter(game.selected_letter);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            game.selected_letter = from <= 1 ? letters : from - 1;
            say_letter(game.selected_letter);
            break;
        case SDL_CONTROLLER_BUTTON_Y:
            say_state(view_of(game));
            break;
        case SDL_CONTROLLER_BUTTON_A:
            if (game.selected_letter != 0) {
                submit_letter(game, game.selected_letter);
            }
            break;
        case SDL_CONTROLLER_BUTTON_B:
            if (game.selected_letter != 0) {
                game.selected_letter = 0;
                say_letter(0);
            }
            break;
        default:
            break;
    }
}

void draw_game(const GameState& game)
{
    clear_frame();
    game_screen_texture.render(0, 0);

    // Guessed letters in rows of ten; the third row holds at most six.
    for (int i = 0; i < game.guess_count; ++i) {
        const int row = i < 10 ? 0 : (i < 20 ? 1 : 2);
        const int column = i - 10 * row;
        alpha_texture.render(33 + 20 * column, 55 + 20 * row,
                             &small_letter_clips[game.guessed_letters[i]]);
    }

    hung_boi_texture.render(450, 100, &hung_boi_clips[max_tries - game.trys_remaining]);
    alpha_texture.render(510, 40, &digit_clips[game.trys_remaining]);

    for (size_t i = 0; i < game.word.size(); ++i) {
        const long long x = game.word_start_x + letter_cell_width * static_cast<long long>(i);
        if (x < INT_MIN || x > INT_MAX) {
            continue;  // only a word of many millions of letters gets here
        }
        const int clip = game.revealed[i] != 0 ? letter_index(game.word[i]) : 0;
        alpha_texture.render(static_cast<int>(x), word_row_y, &letter_clips[clip]);
    }

    alpha_texture.render(437, 372, &letter_clips[game.selected_letter]);
}

bool word_complete(const GameState& game)
{
    long long count = 0;
    for (unsigned char flag : game.revealed) {
        count += flag;
    }
    return count == game.word_length;
}

// Shows a whole-window picture over the frame just drawn.
void show_end_picture(const Texture& picture)
{
    picture.render(0, 0);
    present_frame();
}

// True for the window events after which the window's pixels may be gone.
bool uncovers_window(const SDL_Event& event)
{
    if (event.type != SDL_WINDOWEVENT) {
        return false;
    }
    switch (event.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return true;
        default:
            return false;
    }
}

// Waits, asleep, for a key or a controller's button (false) or a close
// request (true); drops the rest, a modifier key alone among them.
// When the window has been exposed, restored or resized, the last frame and
// its picture are drawn again, once the events that came together are taken.
bool wait_for_key(const GameState& game, const Texture& picture)
{
    bool redraw = false;
    for (;;) {
        SDL_Event event;
        if (redraw && !poll_event(event)) {
            draw_game(game);
            show_end_picture(picture);
            redraw = false;
            continue;
        }
        if (!redraw && !wait_event(event)) {
            return true;  // the event system itself failed: nothing more can be done
        }
        if (event.type == SDL_QUIT) {
            return true;
        }
        if ((event.type == SDL_KEYDOWN && !modifier(event.key.keysym.sym)) ||
            event.type == SDL_CONTROLLERBUTTONDOWN) {
            return false;
        }
        redraw = redraw || uncovers_window(event);
    }
}

}  // namespace

bool play_game(std::string word)
{
    if (dev_mode) {
        log("word = %s\nword_length = %i", word.c_str(), static_cast<int>(word.size()));
    }
    GameState game(std::move(word));
    say_game(view_of(game));

    for (;;) {
        SDL_Event event;
        while (next_event(event, game.running)) {
            if (event.type == SDL_QUIT) {
                game.running = false;
            } else if (event.type == SDL_KEYDOWN) {
                handle_key(game, event.key);
            } else if (event.type == SDL_CONTROLLERBUTTONDOWN) {
                handle_controller_button(game, event.cbutton.button);
            }
        }

        draw_game(game);
        show_game(view_of(game));

        // A complete word wins even when no try is left.
        if (word_complete(game)) {
            say_end(true, view_of(game));
            show_end_picture(win_screen_texture);
            if (game.running) {
                return wait_for_key(game, win_screen_texture);
            }
        }
        if (game.trys_remaining == 0) {
            say_end(false, view_of(game));
            show_end_picture(lose_screen_texture);
            if (game.running) {
                return wait_for_key(game, lose_screen_texture);
            }
        }

        present_frame();
        if (!game.running) {
            return true;
        }
    }
}

}  // namespace hangman
