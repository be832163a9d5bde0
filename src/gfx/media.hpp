// The media catalogue: every texture, button and clip table the screens draw
// from, the window, renderer and font handles, and the developer-mode flag.
// load_media() fills it once after start-up; free_media() empties it.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include "gfx/button.hpp"
#include "gfx/texture.hpp"

namespace hangman {

constexpr int window_width = 640;
constexpr int window_height = 480;

extern SDL_Window* window;
extern SDL_Renderer* renderer;
extern TTF_Font* font;
extern bool dev_mode;  // developer mode: console diagnostics and the sprite overlay

extern Texture hung_boi_texture;
extern Texture alpha_texture;
extern Texture start_button_texture;
extern Texture options_button_texture;
extern Texture easy_button_texture;
extern Texture med_button_texture;
extern Texture hard_button_texture;
extern Texture back_button_texture;
extern Texture dev_mode_button_texture;
extern Texture menu_screen_texture;
extern Texture options_screen_texture;
extern Texture difficulty_screen_texture;
extern Texture game_screen_texture;
extern Texture win_screen_texture;
extern Texture lose_screen_texture;

extern Button start_button;
extern Button options_button;
extern Button easy_button;
extern Button med_button;
extern Button hard_button;
extern Button back_button;
extern Button dev_mode_button;

// Entry 0 is the idle look and entry 1 the hover look of each button.
extern SDL_Rect start_button_clips[2];
extern SDL_Rect options_button_clips[2];
extern SDL_Rect easy_button_clips[2];
extern SDL_Rect med_button_clips[2];
extern SDL_Rect hard_button_clips[2];
extern SDL_Rect back_button_clips[2];
extern SDL_Rect dev_mode_button_clips[2];  // entry 0 the off look, entry 1 the on look

constexpr int hung_boi_stage_count = 7;
constexpr int letter_clip_count = 27;  // entry 0 is the blank, 1 to 26 are a to z
constexpr int digit_clip_count = 10;

extern SDL_Rect hung_boi_clips[hung_boi_stage_count];
extern SDL_Rect letter_clips[letter_clip_count];
extern SDL_Rect small_letter_clips[letter_clip_count];
extern SDL_Rect digit_clips[digit_clip_count];

// Loads all fifteen images and sets up the buttons and clip tables; false when
// any image failed (each failure has printed its lines). The others still load.
bool load_media();

// Frees every texture of the catalogue and closes the font. Safe to repeat.
void free_media();

}  // namespace hangman
