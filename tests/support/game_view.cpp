// Reading the game screen back from a recorded frame (see game_view.hpp).
#include "support/game_view.hpp"

#include "gfx/media.hpp"

using namespace hangman;

namespace harness {

namespace {

// The letter of a letter index; '_' for no letter or no entry of the table.
char letter_of(int index)
{
    return index <= 0 ? '_' : static_cast<char>('a' + index - 1);
}

}  // namespace

bool same(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

GameView read_game(const Frame& frame)
{
    GameView view;
    for (const Copy& copy : frame.copies) {
        if (copy.texture == win_screen_texture.sdl_texture) {
            view.win_shown = true;
        } else if (copy.texture == lose_screen_texture.sdl_texture) {
            view.lose_shown = true;
        } else if (copy.texture == hung_boi_texture.sdl_texture) {
            view.figure_stage = index_in(hung_boi_clips, copy.clip);
        } else if (copy.texture != alpha_texture.sdl_texture) {
            continue;
        } else if (copy.clip.x == 47) {
            view.guessed += letter_of(index_in(small_letter_clips, copy.clip));
            view.guessed_at.push_back({copy.destination.x, copy.destination.y});
        } else if (copy.clip.x == 57) {
            view.tries_digit = index_in(digit_clips, copy.clip);
        } else if (copy.destination.y == 280) {
            view.word_row += letter_of(index_in(letter_clips, copy.clip));
            view.word_row_x.push_back(copy.destination.x);
        } else if (copy.destination.x == 437 && copy.destination.y == 372) {
            view.selection = letter_of(index_in(letter_clips, copy.clip));
        }
    }
    return view;
}

}  // namespace harness
