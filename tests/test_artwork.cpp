// The artwork the build draws: every file has its size, every cell of every
// sheet holds a picture, the parts the game never shows are transparent, and
// recompressing the files changed no pixel; the screens' edges are the
// colour the window shows around the picture.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "gfx/frame.hpp"

namespace {

class Image {
public:
    explicit Image(const std::string& file)
        : surface_(IMG_Load((std::string(HANGMAN_ASSET_DIR) + "/pngs/" + file).c_str()))
    {
        if (surface_ != nullptr) {
            SDL_Surface* rgb = SDL_ConvertSurfaceFormat(surface_, SDL_PIXELFORMAT_RGB24, 0);
            SDL_FreeSurface(surface_);
            surface_ = rgb;
        }
    }
    ~Image() { SDL_FreeSurface(surface_); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool loaded() const { return surface_ != nullptr; }
    int width() const { return surface_->w; }
    int height() const { return surface_->h; }

    bool is(int x, int y, SDL_Color colour) const
    {
        const Uint8* p = static_cast<const Uint8*>(surface_->pixels) + y * surface_->pitch + x * 3;
        return p[0] == colour.r && p[1] == colour.g && p[2] == colour.b;
    }
    bool is_key(int x, int y) const { return is(x, y, {30, 218, 2, 255}); }

    // Pixels in the rectangle that are not the colour key.
    int drawn_pixels(int x, int y, int w, int h) const
    {
        int count = 0;
        for (int row = y; row < y + h; ++row) {
            for (int column = x; column < x + w; ++column) {
                count += is_key(column, row) ? 0 : 1;
            }
        }
        return count;
    }

private:
    SDL_Surface* surface_;
};

struct Cell {
    int x, y, w, h;
};

TEST(Artwork, EveryFileHasItsSize)
{
    struct Case {
        const char* file;
        int w, h;
    };
    const Case cases[] = {
        {"menu_screen.png", 640, 480},          {"options_menu.png", 640, 480},
        {"difficulty_screen.png", 640, 480},    {"game_screen.png", 640, 480},
        {"win_screen.png", 640, 480},           {"lose_screen.png", 640, 480},
        {"start_button_sprites.png", 240, 120}, {"option_button_sprites.png", 240, 120},
        {"easy_button_sprites.png", 240, 120},  {"med_button_sprites.png", 240, 120},
        {"hard_button_sprites.png", 240, 120},  {"back_button_sprite.png", 52, 104},
        {"off_on_button.png", 42, 50},          {"hung_boi_sprites.png", 385, 65},
        {"letters_sprites.png", 68, 1430},
    };
    for (const Case& c : cases) {
        const Image image(c.file);
        ASSERT_TRUE(image.loaded()) << c.file << ": " << SDL_GetError();
        EXPECT_EQ(c.w, image.width()) << c.file;
        EXPECT_EQ(c.h, image.height()) << c.file;
    }
}

TEST(Artwork, EveryCellHoldsAPicture)
{
    struct Sheet {
        const char* file;
        std::vector<Cell> cells;
    };
    std::vector<Sheet> sheets;
    for (const char* file :
         {"start_button_sprites.png", "option_button_sprites.png", "easy_button_sprites.png",
          "med_button_sprites.png", "hard_button_sprites.png"}) {
        sheets.push_back({file, {{0, 0, 240, 60}, {0, 60, 240, 60}}});
    }
    sheets.push_back({"back_button_sprite.png", {{0, 0, 52, 52}, {0, 52, 52, 52}}});
    sheets.push_back({"off_on_button.png", {{0, 0, 42, 24}, {0, 26, 42, 24}}});
    Sheet figures{"hung_boi_sprites.png", {}};
    for (int k = 0; k < 7; ++k) {
        figures.cells.push_back({55 * k, 0, 55, 65});
    }
    sheets.push_back(figures);
    Sheet letters{"letters_sprites.png", {}};
    for (int k = 0; k < 27; ++k) {
        letters.cells.push_back({0, 53 * k, 46, 52});
        letters.cells.push_back({47, 14 * k, 10, 14});
    }
    for (int k = 0; k < 10; ++k) {
        letters.cells.push_back({57, 14 * k, 11, 14});
    }
    sheets.push_back(letters);

    for (const Sheet& sheet : sheets) {
        const Image image(sheet.file);
        ASSERT_TRUE(image.loaded()) << sheet.file;
        for (const Cell& c : sheet.cells) {
            EXPECT_GT(image.drawn_pixels(c.x, c.y, c.w, c.h), c.w * c.h / 20)
                << sheet.file << " cell at (" << c.x << ", " << c.y << ") is (nearly) empty";
        }
    }
}

TEST(Artwork, WhatTheGameNeverShowsIsTransparent)
{
    struct Case {
        const char* file;
        Cell area;
    };
    std::vector<Case> cases = {
        {"letters_sprites.png", {46, 0, 1, 1430}},     // the column between the two kinds of letter
        {"letters_sprites.png", {47, 378, 21, 1052}},  // below the small letters and digits
        {"letters_sprites.png", {57, 140, 11, 238}},   // below the digits
        {"off_on_button.png", {0, 24, 42, 2}},         // the rows both looks share
    };
    for (int k = 0; k < 26; ++k) {
        cases.push_back({"letters_sprites.png", {0, 53 * k + 52, 46, 1}});  // between tiles
    }
    for (const Case& c : cases) {
        const Image image(c.file);
        ASSERT_TRUE(image.loaded()) << c.file;
        EXPECT_EQ(0, image.drawn_pixels(c.area.x, c.area.y, c.area.w, c.area.h))
            << c.file << " has drawn pixels in (" << c.area.x << ", " << c.area.y << ") "
            << c.area.w << "x" << c.area.h;
    }
}

TEST(Artwork, ScreensAreOpaqueAndEndPicturesLetTheGameShowBelowTheCard)
{
    for (const char* file :
         {"menu_screen.png", "options_menu.png", "difficulty_screen.png", "game_screen.png"}) {
        const Image image(file);
        ASSERT_TRUE(image.loaded()) << file;
        EXPECT_EQ(0, image.drawn_pixels(0, 0, 640, 480) - 640 * 480) << file;
        // A window of another shape continues the screen's edge around it.
        EXPECT_TRUE(image.is(0, 0, hangman::letterbox_colour) &&
                    image.is(639, 479, hangman::letterbox_colour))
            << file << "'s edge is not the letterbox colour";
    }
    for (const char* file : {"win_screen.png", "lose_screen.png"}) {
        const Image image(file);
        ASSERT_TRUE(image.loaded()) << file;
        EXPECT_GT(image.drawn_pixels(18, 14, 604, 226), 604 * 226 * 9 / 10) << file << " card";
        EXPECT_EQ(224 * 94, image.drawn_pixels(22, 28, 224, 94))
            << file << " lets the guessed letters or their label show";
        EXPECT_EQ(0, image.drawn_pixels(0, 252, 640, 228)) << file << " covers the word row";
    }
}

// The files shipped are the drawn ones recompressed: each must load as the
// drawn one does, in the same pixel format, pixel for pixel.
TEST(Artwork, RecompressingKeepsEveryPixelAndTheFormat)
{
    namespace fs = std::filesystem;
    using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
    int compared = 0;
    for (const char* folder : {"pngs", "icons"}) {
        for (const fs::directory_entry& entry :
             fs::directory_iterator(fs::path(HANGMAN_DRAWN_DIR) / folder)) {
            const fs::path shipped = fs::path(HANGMAN_ASSET_DIR) / folder / entry.path().filename();
            const Surface drawn(IMG_Load(entry.path().c_str()), SDL_FreeSurface);
            const Surface small(IMG_Load(shipped.c_str()), SDL_FreeSurface);
            ASSERT_TRUE(drawn && small) << shipped << ": " << SDL_GetError();
            ASSERT_STREQ(SDL_GetPixelFormatName(drawn->format->format),
                         SDL_GetPixelFormatName(small->format->format))
                << shipped;
            ASSERT_TRUE(drawn->w == small->w && drawn->h == small->h) << shipped;
            const size_t row = static_cast<size_t>(drawn->w) * drawn->format->BytesPerPixel;
            for (int y = 0; y < drawn->h; ++y) {
                ASSERT_EQ(0, std::memcmp(
                                 static_cast<const Uint8*>(drawn->pixels) + y * drawn->pitch,
                                 static_cast<const Uint8*>(small->pixels) + y * small->pitch, row))
                    << shipped << " differs from the drawn file in row " << y;
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 0) << "no drawn files in " << HANGMAN_DRAWN_DIR;
}

}  // namespace
