// make_art: draws every picture the game loads, in one palette, and writes
// them as PNG files with the game's colour key for transparent pixels.
//
//   make_art <font folder> <output folder> [<icon folder> <size>...]
//
// The font folder must hold DejaVu's Sans Bold, Sans and Sans Mono Bold.
// Sheet layouts follow the clip tables in src/gfx/media.cpp. The icon folder
// gets the icon drawn at each size given, as <size>.png.
//
// Only SDL's surfaces, SDL_ttf and SDL_image's PNG writer are used: nothing
// starts SDL itself, so the tool needs no display and no session bus.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "canvas.hpp"

namespace {

// The palette: a slate chalkboard, chalk lines, a wooden gallows, warm yellow.
constexpr Colour board = rgb(35, 49, 58);
constexpr Colour board_line = rgb(58, 78, 90);
constexpr Colour panel = rgb(48, 67, 79);
constexpr Colour chalk = rgb(241, 238, 228);
constexpr Colour chalk_dim = rgb(150, 168, 176);
constexpr Colour accent = rgb(242, 177, 52);
constexpr Colour accent_light = rgb(255, 214, 120);
constexpr Colour ink = rgb(35, 49, 58);
constexpr Colour wood = rgb(186, 130, 76);
constexpr Colour rope = rgb(222, 200, 150);
constexpr Colour tile = rgb(244, 236, 214);
constexpr Colour tile_shade = rgb(196, 180, 148);
constexpr Colour slot = rgb(52, 72, 85);
constexpr Colour green = rgb(116, 201, 116);
constexpr Colour red = rgb(232, 92, 82);
constexpr Colour shadow = rgb(22, 31, 37);

struct Fonts {
    std::string bold;
    std::string regular;
    std::string mono_bold;
};

Fonts fonts;

TTF_Font* bold(int size)
{
    return open_font(fonts.bold, size);
}

TTF_Font* regular(int size)
{
    return open_font(fonts.regular, size);
}

// ---- Shared pieces -------------------------------------------------------

void board_background(Canvas& canvas)
{
    canvas.fill(board);
    canvas.round_rect_outline(12, 12, 628, 468, 18, 2, board_line);
}

// The gallows and figure, drawn in a 55 x 65 frame scaled by `s` at (ox, oy).
// `stage` is the number of wrong guesses, 0 (empty gallows) to 6.
void gallows_figure(Canvas& c, float ox, float oy, float s, int stage)
{
    auto line = [&](float ax, float ay, float bx, float by, float w, Colour colour) {
        c.line(ox + ax * s, oy + ay * s, ox + bx * s, oy + by * s, w * s, colour);
    };
    line(5, 61, 33, 61, 3.6f, wood);
    line(11, 61, 11, 5, 3.6f, wood);
    line(11, 5, 41, 5, 3.6f, wood);
    line(11, 16, 22, 5, 2.4f, wood);
    line(41, 5, 41, 13, 1.6f, rope);

    const Colour body = stage == 6 ? red : chalk;
    if (stage >= 1) {
        c.ring(ox + 41 * s, oy + 19.5f * s, 6.4f * s, 2.2f * s, body);
    }
    if (stage >= 2) {
        line(41, 26, 41, 42, 2.4f, body);
    }
    if (stage >= 3) {
        line(41, 30, 33, 38, 2.2f, body);
    }
    if (stage >= 4) {
        line(41, 30, 49, 38, 2.2f, body);
    }
    if (stage >= 5) {
        line(41, 42, 34, 54, 2.2f, body);
    }
    if (stage >= 6) {
        line(41, 42, 48, 54, 2.2f, body);
    }
}

// A free, cheering figure for the win picture, in a 55 x 65 frame.
void cheering_figure(Canvas& c, float ox, float oy, float s)
{
    auto line = [&](float ax, float ay, float bx, float by) {
        c.line(ox + ax * s, oy + ay * s, ox + bx * s, oy + by * s, 2.4f * s, chalk);
    };
    c.ring(ox + 27 * s, oy + 14 * s, 6.4f * s, 2.2f * s, chalk);
    line(27, 21, 27, 39);
    line(27, 26, 17, 13);
    line(27, 26, 37, 13);
    line(27, 39, 20, 54);
    line(27, 39, 34, 54);
    for (const auto& star : {std::vector<float>{8, 8}, {46, 6}, {49, 24}, {6, 28}}) {
        c.circle(ox + star[0] * s, oy + star[1] * s, 1.6f * s, accent);
    }
}

// A menu button look: 240 x 60 with its top edge at `top`.
void large_button(Canvas& c, float top, const std::string& label, bool hover)
{
    const Colour face = hover ? accent : panel;
    const Colour edge = hover ? accent_light : chalk;
    c.round_rect(2, top + 4, 238, top + 59, 14, shadow);
    c.round_rect(2, top + 1, 238, top + 56, 14, face);
    c.round_rect_outline(2, top + 1, 238, top + 56, 14, 3, edge);
    c.text(bold(24), label, hover ? ink : chalk, 120, top + 28.5f);
}

void back_look(Canvas& c, float top, bool hover)
{
    const float cx = 26;
    const float cy = top + 26;
    c.circle(cx, cy + 1, 24, shadow);
    c.circle(cx, cy - 1, 23, hover ? accent : panel);
    c.ring(cx, cy - 1, 23, 3, hover ? accent_light : chalk);
    const Colour arrow = hover ? ink : chalk;
    c.line(16, cy - 1, 36, cy - 1, 4, arrow);
    c.line(16, cy - 1, 24.5f, cy - 9.5f, 4, arrow);
    c.line(16, cy - 1, 24.5f, cy + 7.5f, 4, arrow);
}

// The developer-mode switch: a 42 x 22 pill inside a 26-row frame at `top`.
void switch_look(Canvas& c, float top, bool on)
{
    const float y0 = top + 2;
    const float y1 = top + 24;
    c.round_rect(1, y0, 41, y1, 11, on ? green : rgb(92, 106, 115));
    c.round_rect_outline(1, y0, 41, y1, 11, 1.5f, chalk);
    const float knob_x = on ? 30 : 12;
    c.circle(knob_x, top + 13, 8, chalk);
    TTF_Font* font = fit_font(fonts.bold, "OFF", 17, 9, 10);
    if (on) {
        c.text(font, "ON", ink, 15.5f, top + 13);
    } else {
        c.text(font, "OFF", chalk, 29, top + 13);
    }
}

void letter_tile(Canvas& c, float top, int letter)
{
    if (letter == 0) {
        c.round_rect(1, top + 1, 45, top + 50, 7, slot);
        c.line(12, top + 40, 34, top + 40, 3, chalk_dim);
        return;
    }
    c.round_rect(1, top + 3, 45, top + 52, 7, tile_shade);
    c.round_rect(1, top + 1, 45, top + 49, 7, tile);
    const std::string text(1, static_cast<char>('A' + letter - 1));
    c.text(fit_font(fonts.bold, text, 32, 30, 34), text, ink, 23, top + 25);
}

// ---- The sheets ----------------------------------------------------------

Canvas button_sheet(const std::string& label)
{
    Canvas c(240, 120);
    large_button(c, 0, label, false);
    large_button(c, 60, label, true);
    return c;
}

Canvas back_sheet()
{
    Canvas c(52, 104);
    back_look(c, 0, false);
    back_look(c, 52, true);
    return c;
}

Canvas switch_sheet()
{
    // The off look covers rows 0 to 25 and the on look rows 24 to 49; the two
    // shared rows stay transparent in both.
    Canvas c(42, 50);
    switch_look(c, 0, false);
    switch_look(c, 24, true);
    return c;
}

Canvas figure_sheet()
{
    Canvas c(385, 65);
    for (int stage = 0; stage < 7; ++stage) {
        gallows_figure(c, 55.0f * static_cast<float>(stage), 0, 1.0f, stage);
    }
    return c;
}

Canvas letters_sheet()
{
    Canvas c(68, 1430);
    for (int k = 0; k < 27; ++k) {
        letter_tile(c, 53.0f * static_cast<float>(k), k);
    }
    for (int k = 0; k < 27; ++k) {
        const float top = 14.0f * static_cast<float>(k);
        if (k == 0) {
            c.line(49, top + 11, 55, top + 11, 1.5f, chalk_dim);
            continue;
        }
        const std::string text(1, static_cast<char>('A' + k - 1));
        c.text(fit_font(fonts.mono_bold, text, 9, 11, 14), text, chalk, 52, top + 7);
    }
    for (int k = 0; k < 10; ++k) {
        const std::string text(1, static_cast<char>('0' + k));
        c.text(fit_font(fonts.mono_bold, text, 10, 12, 16), text, accent, 62.5f,
               14.0f * static_cast<float>(k) + 7);
    }
    return c;
}

// ---- The screens ---------------------------------------------------------

Canvas menu_screen()
{
    Canvas c(640, 480);
    board_background(c);
    c.text(bold(58), "HANGMAN", chalk, 320, 262);
    c.line(200, 295, 440, 295, 2, accent);
    c.text(regular(16), "Find the hidden word before the figure is complete.", chalk_dim, 320, 322);
    c.text(
        regular(13),
        "Mouse, or arrows and Enter, for the menus  \xC2\xB7  letters, Space and Backspace to play",
        chalk_dim, 320, 448);
    return c;
}

Canvas difficulty_screen()
{
    Canvas c(640, 480);
    board_background(c);
    c.text(bold(40), "CHOOSE A LEVEL", chalk, 320, 92);
    c.text(regular(17), "How long should the hidden word be?", chalk_dim, 320, 142);
    const char* captions[] = {"4 letters", "7 to 9 letters", "8 to 13 letters"};
    for (int level = 0; level < 3; ++level) {
        const float cy = 230.0f + 80.0f * static_cast<float>(level);
        for (int pip = 0; pip < 3; ++pip) {
            const float cx = 144.0f + 18.0f * static_cast<float>(pip);
            if (pip <= level) {
                c.circle(cx, cy, 6, accent);
            } else {
                c.ring(cx, cy, 6, 2, board_line);
            }
        }
        c.text(regular(16), captions[level], chalk_dim, 462, cy, Align::left);
    }
    return c;
}

Canvas options_screen()
{
    Canvas c(640, 480);
    board_background(c);
    c.text(bold(44), "OPTIONS", chalk, 320, 92);
    c.line(240, 128, 400, 128, 2, accent);
    c.text(regular(16), "Developer mode is off whenever the game starts.", chalk_dim, 320, 230);
    c.round_rect_outline(28, 316, 612, 446, 14, 2, board_line);
    c.text(bold(17), "Developer mode", chalk, 196, 367, Align::right);
    c.text(regular(14), "Prints the secret word and every button press on the console", chalk_dim,
           320, 406);
    c.text(regular(14), "and shows a sprite test on the main menu.", chalk_dim, 320, 426);
    return c;
}

Canvas game_screen()
{
    Canvas c(640, 480);
    board_background(c);
    c.text(bold(12), "GUESSED LETTERS", chalk_dim, 33, 38, Align::left);
    c.round_rect_outline(24, 47, 242, 118, 9, 1.5f, board_line);
    c.text(bold(12), "TRIES LEFT", chalk_dim, 500, 47, Align::right);
    c.text(bold(12), "THE WORD", chalk_dim, 320, 260);
    c.round_rect_outline(428, 363, 492, 433, 12, 2.5f, accent);
    c.text(bold(16), "YOUR LETTER", chalk, 412, 384, Align::right);
    c.text(regular(13), "Space to guess", chalk_dim, 412, 405, Align::right);
    c.text(regular(13), "Backspace to clear", chalk_dim, 412, 422, Align::right);
    return c;
}

// The end pictures are a card over the top of the last game frame, the
// guessed letters and their label included; the rest stays transparent, so
// the word row can still be seen below the card.
Canvas end_card(bool won)
{
    Canvas c(640, 480);
    const Colour mood = won ? green : red;
    c.round_rect(26, 22, 626, 248, 20, shadow);
    c.round_rect(18, 14, 622, 240, 20, panel);
    c.round_rect_outline(18, 14, 622, 240, 20, 4, mood);
    if (won) {
        cheering_figure(c, 62, 50, 2.2f);
    } else {
        gallows_figure(c, 58, 48, 2.2f, 6);
    }
    c.text(bold(50), won ? "YOU WIN!" : "YOU LOSE", mood, 386, 78);
    c.text(regular(19), won ? "You found the hidden word." : "The figure is complete.", chalk, 386,
           136);
    c.round_rect(296, 176, 476, 214, 19, board);
    c.text(bold(16), "press any key", accent, 386, 195);
    return c;
}

// The desktop icon: the finished figure on a board-coloured rounded square,
// drawn for `size` pixels; the smallest sizes get a tighter frame.
Canvas icon(int size)
{
    const float s = static_cast<float>(size) / 128.0f;
    Canvas c(size, size);
    if (size < 32) {
        c.round_rect(0, 0, 128 * s, 128 * s, 24 * s, board);
        gallows_figure(c, 14 * s, 4 * s, 1.85f * s, 6);
        return c;
    }
    c.round_rect(4 * s, 4 * s, 124 * s, 124 * s, 24 * s, board);
    c.round_rect_outline(4 * s, 4 * s, 124 * s, 124 * s, 24 * s, 3 * s, accent);
    gallows_figure(c, 22 * s, 14 * s, 1.55f * s, 6);
    return c;
}

struct Output {
    const char* file;
    std::function<Canvas()> draw;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: make_art <font folder> <output folder> [<icon folder> <size>...]\n");
        return 2;
    }
    const std::string font_dir = argv[1];
    const std::string out_dir = argv[2];
    fonts = {font_dir + "/DejaVuSans-Bold.ttf", font_dir + "/DejaVuSans.ttf",
             font_dir + "/DejaVuSansMono-Bold.ttf"};

    if (TTF_Init() < 0) {
        std::fprintf(stderr, "make_art: %s\n", TTF_GetError());
        return 1;
    }
    if (bold(12) == nullptr || regular(12) == nullptr ||
        open_font(fonts.mono_bold, 12) == nullptr) {
        std::fprintf(stderr, "make_art: cannot open the DejaVu fonts in %s: %s\n", font_dir.c_str(),
                     TTF_GetError());
        return 1;
    }

    const std::vector<Output> outputs = {
        {"menu_screen.png", menu_screen},
        {"options_menu.png", options_screen},
        {"difficulty_screen.png", difficulty_screen},
        {"game_screen.png", game_screen},
        {"win_screen.png", [] { return end_card(true); }},
        {"lose_screen.png", [] { return end_card(false); }},
        {"start_button_sprites.png", [] { return button_sheet("START"); }},
        {"option_button_sprites.png", [] { return button_sheet("OPTIONS"); }},
        {"easy_button_sprites.png", [] { return button_sheet("EASY"); }},
        {"med_button_sprites.png", [] { return button_sheet("MEDIUM"); }},
        {"hard_button_sprites.png", [] { return button_sheet("HARD"); }},
        {"back_button_sprite.png", back_sheet},
        {"off_on_button.png", switch_sheet},
        {"hung_boi_sprites.png", figure_sheet},
        {"letters_sprites.png", letters_sheet},
    };

    int status = 0;
    for (const Output& output : outputs) {
        const std::string path = out_dir + "/" + output.file;
        if (!output.draw().save_png(path, board)) {
            std::fprintf(stderr, "make_art: cannot write %s: %s\n", path.c_str(), SDL_GetError());
            status = 1;
        }
    }

    for (int arg = 4; arg < argc; ++arg) {
        const int size = std::atoi(argv[arg]);
        const std::string path = std::string(argv[3]) + "/" + std::to_string(size) + ".png";
        if (size <= 0 || !icon(size).save_png_with_alpha(path)) {
            std::fprintf(stderr, "make_art: cannot write %s: %s\n", path.c_str(), SDL_GetError());
            status = 1;
        }
    }

    close_fonts();
    TTF_Quit();
    return status;
}
