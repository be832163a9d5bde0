// The media catalogue (see media.hpp): the global objects, the file of each
// image and the clip layout of each sprite sheet.
#include "gfx/media.hpp"

#include "platform/log.hpp"

namespace hangman {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
TTF_Font* font = nullptr;
bool dev_mode = false;

// Declared in this order on purpose: the destructors run in reverse at exit.
Texture hung_boi_texture;
Texture alpha_texture;
Texture start_button_texture;
Texture options_button_texture;
Texture easy_button_texture;
Texture med_button_texture;
Texture hard_button_texture;
Texture back_button_texture;
Texture dev_mode_button_texture;
Texture menu_screen_texture;
Texture options_screen_texture;
Texture difficulty_screen_texture;
Texture game_screen_texture;
Texture win_screen_texture;
Texture lose_screen_texture;

Button start_button;
Button options_button;
Button easy_button;
Button med_button;
Button hard_button;
Button back_button;
Button dev_mode_button;

SDL_Rect start_button_clips[2];
SDL_Rect options_button_clips[2];
SDL_Rect easy_button_clips[2];
SDL_Rect med_button_clips[2];
SDL_Rect hard_button_clips[2];
SDL_Rect back_button_clips[2];
SDL_Rect dev_mode_button_clips[2];

SDL_Rect hung_boi_clips[hung_boi_stage_count];
SDL_Rect letter_clips[letter_clip_count];
SDL_Rect small_letter_clips[letter_clip_count];
SDL_Rect digit_clips[digit_clip_count];

namespace {

using ClipPair = SDL_Rect[2];

constexpr SDL_Rect large_button_looks[2] = {{0, 0, 240, 60}, {0, 60, 240, 60}};
constexpr SDL_Rect back_button_looks[2] = {{0, 0, 52, 52}, {0, 52, 52, 52}};
// The toggle's two looks share rows 24 and 25 of its sheet.
constexpr SDL_Rect dev_mode_button_looks[2] = {{0, 0, 42, 26}, {0, 24, 42, 26}};

const char* const button_failure_line = "Failed to load button_texture.\n";

bool load_image(Texture& texture, const char* path, const char* failure_line)
{
    if (texture.load_from_file(path)) {
        return true;
    }
    log("%s", failure_line);
    return false;
}

// Loads a button's sheet and, on success, gives the button its looks, size
// and position. A button whose sheet failed stays all zero.
bool load_button(Button& button, Texture& sheet, const char* path, ClipPair& clips,
                 const SDL_Rect (&looks)[2], int x, int y)
{
    if (!load_image(sheet, path, button_failure_line)) {
        return false;
    }
    clips[0] = looks[0];
    clips[1] = looks[1];
    button.idle_clip = &clips[0];
    button.hover_clip = &clips[1];
    button.sheet = &sheet;
    button.width = looks[0].w;
    button.height = looks[0].h;
    button.x = x;
    button.y = y;
    return true;
}

void set_up_hung_boi_clips()
{
    for (int k = 0; k < hung_boi_stage_count; ++k) {
        hung_boi_clips[k] = {55 * k, 0, 55, 65};
    }
}

void set_up_letter_clips()
{
    for (int k = 0; k < letter_clip_count; ++k) {
        letter_clips[k] = {0, 53 * k, 46, 52};
        small_letter_clips[k] = {47, 14 * k, 10, 14};
    }
    for (int k = 0; k < digit_clip_count; ++k) {
        digit_clips[k] = {57, 14 * k, 11, 14};
    }
}

}  // namespace

bool load_media()
{
    bool success = true;

    success &= load_image(menu_screen_texture, "pngs/menu_screen.png",
                          "Failed to load menu_screen texture\n");
    success &= load_image(options_screen_texture, "pngs/options_menu.png",
                          "Failed to load options_screen texture.\n");
    success &= load_image(difficulty_screen_texture, "pngs/difficulty_screen.png",
                          "Failed to load difficulty_screen texture.\n");
    success &= load_image(game_screen_texture, "pngs/game_screen.png",
                          "Failed to load game_screen texture.\n");
    success &= load_image(win_screen_texture, "pngs/win_screen.png",
                          "Failed to load win_screen texture\n");
    success &= load_image(lose_screen_texture, "pngs/lose_screen.png",
                          "Failed to load lose_screen texture\n");

    // Every button gets its drawn position here, so that no button lies
    // invisibly at (0, 0) before its screen has drawn a first frame.
    success &= load_button(start_button, start_button_texture, "pngs/start_button_sprites.png",
                           start_button_clips, large_button_looks, 60, 360);
    success &= load_button(options_button, options_button_texture, "pngs/option_button_sprites.png",
                           options_button_clips, large_button_looks, 340, 360);
    success &= load_button(easy_button, easy_button_texture, "pngs/easy_button_sprites.png",
                           easy_button_clips, large_button_looks, 200, 200);
    success &= load_button(med_button, med_button_texture, "pngs/med_button_sprites.png",
                           med_button_clips, large_button_looks, 200, 280);
    success &= load_button(hard_button, hard_button_texture, "pngs/hard_button_sprites.png",
                           hard_button_clips, large_button_looks, 200, 360);
    success &= load_button(back_button, back_button_texture, "pngs/back_button_sprite.png",
                           back_button_clips, back_button_looks, 580, 0);
    success &= load_button(dev_mode_button, dev_mode_button_texture, "pngs/off_on_button.png",
                           dev_mode_button_clips, dev_mode_button_looks, 210, 354);

    if (load_image(hung_boi_texture, "pngs/hung_boi_sprites.png",
                   "Failed to load hung_boi sprite texture.\n")) {
        set_up_hung_boi_clips();
    } else {
        success = false;
    }

    // The font is opened and kept for the whole run, though nothing is drawn
    // with it; a missing font file goes unnoticed.
    font = TTF_OpenFont("png/AtariST8x16SystemFont.ttf", 64);

    if (!load_image(alpha_texture, "pngs/letters_sprites.png",
                    "Failed to load in alpha_texture.\n")) {
        return false;
    }
    set_up_letter_clips();
    return success;
}

void free_media()
{
    TTF_CloseFont(font);
    font = nullptr;

    Texture* const textures[] = {
        &start_button_texture,    &options_button_texture,
        &easy_button_texture,     &back_button_texture,
        &alpha_texture,           &menu_screen_texture,
        &options_screen_texture,  &difficulty_screen_texture,
        &game_screen_texture,     &hung_boi_texture,
        &win_screen_texture,      &lose_screen_texture,
        &med_button_texture,      &hard_button_texture,
        &dev_mode_button_texture,
    };
    for (Texture* texture : textures) {
        texture->free();
    }
}

}  // namespace hangman
