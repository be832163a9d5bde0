// What a game frame shows, read back from the sprites copied into it: the
// one reading of the game screen that the tests share.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/harness.hpp"

namespace harness {

struct GameView {
    int figure_stage = -1;              // entry of hung_boi_clips; -1 when none or not one of them
    int tries_digit = -1;               // entry of digit_clips, likewise
    std::string guessed;                // small letters in drawing order
    std::vector<SDL_Point> guessed_at;  // where each was drawn
    std::string word_row;               // '_' for a hidden position (or a clip not in the table)
    std::vector<int> word_row_x;
    char selection = '?';  // '_' when no letter is chosen
    bool win_shown = false;
    bool lose_shown = false;
};

// Reads the game screen from the copies of one frame.
GameView read_game(const Frame& frame);

// Whether two rectangles are the same.
bool same(const SDL_Rect& a, const SDL_Rect& b);

// Index of `clip` in `table`, or -1 when it is none of its entries.
template <size_t N>
int index_in(const SDL_Rect (&table)[N], const SDL_Rect& clip)
{
    for (size_t i = 0; i < N; ++i) {
        if (same(table[i], clip)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace harness
