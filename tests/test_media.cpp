// The media catalogue: what load_media sets up, and the lines and results of
// every kind of broken image file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <SDL_image.h>

#include <iterator>

#include "app/app.hpp"
#include "gfx/media.hpp"
#include "support/game_view.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;
using harness::same;

namespace fs = std::filesystem;

namespace {

std::string text_of(const SDL_Rect& r)
{
    return "{" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) +
           ", " + std::to_string(r.h) + "}";
}

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        harness::enter_scratch_copy_of_assets();
        ASSERT_TRUE(init());
    }
    void TearDown() override { close(); }
};

TEST_F(MediaTest, LoadsEverythingSilently)
{
    harness::CapturedStdout out;
    EXPECT_TRUE(load_media());
    EXPECT_EQ("", out.text());
    EXPECT_NE(nullptr, font) << "the font handle is kept, to be closed at shutdown";
}

TEST_F(MediaTest, ClipTablesAndButtonsAreSetUp)
{
    ASSERT_TRUE(load_media());
    struct ClipCase {
        const char* name;
        SDL_Rect actual;
        SDL_Rect expected;
    };
    const ClipCase clips[] = {
        {"letter_clips[26]", letter_clips[26], {0, 1378, 46, 52}},
        {"small_letter_clips[26]", small_letter_clips[26], {47, 364, 10, 14}},
        {"digit_clips[9]", digit_clips[9], {57, 126, 11, 14}},
        {"hung_boi_clips[6]", hung_boi_clips[6], {330, 0, 55, 65}},
        {"start_button_clips[1]", start_button_clips[1], {0, 60, 240, 60}},
        {"back_button_clips[1]", back_button_clips[1], {0, 52, 52, 52}},
        {"dev_mode_button_clips[1]", dev_mode_button_clips[1], {0, 24, 42, 26}},
    };
    for (const ClipCase& c : clips) {
        EXPECT_TRUE(same(c.expected, c.actual))
            << c.name << ": expected " << text_of(c.expected) << ", got " << text_of(c.actual);
    }

    struct ButtonCase {
        const char* name;
        const Button& button;
        Texture& sheet;
        int x, y, w, h;
    };
    const ButtonCase buttons[] = {
        {"start", start_button, start_button_texture, 60, 360, 240, 60},
        {"options", options_button, options_button_texture, 340, 360, 240, 60},
        {"easy", easy_button, easy_button_texture, 200, 200, 240, 60},
        {"med", med_button, med_button_texture, 200, 280, 240, 60},
        {"hard", hard_button, hard_button_texture, 200, 360, 240, 60},
        {"back", back_button, back_button_texture, 580, 0, 52, 52},
        {"dev_mode", dev_mode_button, dev_mode_button_texture, 210, 354, 42, 26},
    };
    for (const ButtonCase& b : buttons) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(b.x, b.button.x);
        EXPECT_EQ(b.y, b.button.y);
        EXPECT_EQ(b.w, b.button.width);
        EXPECT_EQ(b.h, b.button.height);
        EXPECT_EQ(&b.sheet, b.button.sheet);
        ASSERT_NE(nullptr, b.button.idle_clip);
        EXPECT_EQ(b.button.idle_clip + 1, b.button.hover_clip);
        EXPECT_EQ(nullptr, b.button.current_clip);
        EXPECT_FALSE(b.button.pressed);
    }
}

enum class Damage { missing, empty, not_png, truncated, directory };

void damage(const std::string& path, Damage how)
{
    fs::remove(path);
    switch (how) {
        case Damage::missing:
            break;
        case Damage::empty:
            std::ofstream(path).close();
            break;
        case Damage::not_png:
            std::ofstream(path) << "this is not a picture\n";
            break;
        case Damage::truncated: {
            std::ifstream whole(std::string(HANGMAN_ASSET_DIR) + "/" + path, std::ios::binary);
            std::string bytes(200, '\0');
            whole.read(&bytes[0], 200);
            std::ofstream(path, std::ios::binary) << bytes;
            break;
        }
        case Damage::directory:
            fs::create_directory(path);
            break;
    }
}

std::string loader_error(const std::string& path, Damage how)
{
    switch (how) {
        case Damage::missing:
            return "Couldn't open " + path;
        case Damage::truncated:
            return "Error reading the PNG file.";
        default:
            return "Unsupported image format";
    }
}

struct FailureCase {
    const char* file;
    const char* failure_line;
};

const FailureCase failure_cases[] = {
    {"pngs/menu_screen.png", "Failed to load menu_screen texture\n"},
    {"pngs/options_menu.png", "Failed to load options_screen texture.\n"},
    {"pngs/difficulty_screen.png", "Failed to load difficulty_screen texture.\n"},
    {"pngs/game_screen.png", "Failed to load game_screen texture.\n"},
    {"pngs/win_screen.png", "Failed to load win_screen texture\n"},
    {"pngs/lose_screen.png", "Failed to load lose_screen texture\n"},
    {"pngs/start_button_sprites.png", "Failed to load button_texture.\n"},
    {"pngs/option_button_sprites.png", "Failed to load button_texture.\n"},
    {"pngs/easy_button_sprites.png", "Failed to load button_texture.\n"},
    {"pngs/med_button_sprites.png", "Failed to load button_texture.\n"},
    {"pngs/hard_button_sprites.png", "Failed to load button_texture.\n"},
    {"pngs/back_button_sprite.png", "Failed to load button_texture.\n"},
    {"pngs/off_on_button.png", "Failed to load button_texture.\n"},
    {"pngs/hung_boi_sprites.png", "Failed to load hung_boi sprite texture.\n"},
    {"pngs/letters_sprites.png", "Failed to load in alpha_texture.\n"},
};

TEST_F(MediaTest, EveryBrokenImageGivesItsLinesAndFails)
{
    const Damage kinds[] = {Damage::missing, Damage::empty, Damage::not_png, Damage::truncated,
                            Damage::directory};
    for (const FailureCase& c : failure_cases) {
        for (Damage how : kinds) {
            SCOPED_TRACE(std::string(c.file) + " damage " + std::to_string(int(how)));
            harness::restore_images();
            damage(c.file, how);
            free_media();
            harness::reset_catalogue();

            harness::CapturedStdout out;
            EXPECT_FALSE(load_media());
            EXPECT_EQ(std::string("Unable to load image ") + c.file +
                          ". SDL_image ERROR: " + loader_error(c.file, how) + "\n" + c.failure_line,
                      out.text());
        }
    }
}

TEST_F(MediaTest, EveryTextureTheRendererRefusesGivesItsLinesAndFails)
{
    // The fifteen images load in the order of failure_cases.
    for (size_t row = 0; row < std::size(failure_cases); ++row) {
        const FailureCase& c = failure_cases[row];
        SCOPED_TRACE(c.file);
        free_media();
        harness::reset_catalogue();
        hooks::faults() = hooks::Faults{};
        hooks::faults().refuse_texture = static_cast<int>(row) + 1;

        harness::CapturedStdout out;
        EXPECT_FALSE(load_media());
        EXPECT_EQ(std::string("Unable t0 create texture from ") + c.file +
                      ". SDL ERROR: Out of texture memory\n" + c.failure_line,
                  out.text());
    }
}

TEST_F(MediaTest, AnImageTooLargeForAnyTextureFails)
{
    SDL_Surface* huge = SDL_CreateRGBSurfaceWithFormat(0, 40000, 2, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(nullptr, huge);
    ASSERT_EQ(0, IMG_SavePNG(huge, "pngs/menu_screen.png"));
    SDL_FreeSurface(huge);

    harness::CapturedStdout out;
    EXPECT_FALSE(load_media());
    const std::string text = out.text();
    const std::string prefix = "Unable t0 create texture from pngs/menu_screen.png. SDL ERROR: ";
    EXPECT_EQ(prefix, text.substr(0, prefix.size()));
    const std::string ending = "\nFailed to load menu_screen texture\n";
    ASSERT_GE(text.size(), ending.size());
    EXPECT_EQ(ending, text.substr(text.size() - ending.size()));
    EXPECT_EQ(nullptr, menu_screen_texture.sdl_texture);
}

TEST_F(MediaTest, SheetsSmallerThanTheirLayoutsStillDrawSafely)
{
    for (const char* file : {"pngs/letters_sprites.png", "pngs/hung_boi_sprites.png",
                             "pngs/start_button_sprites.png", "pngs/off_on_button.png"}) {
        SDL_Surface* tiny = SDL_CreateRGBSurfaceWithFormat(0, 9, 9, 24, SDL_PIXELFORMAT_RGB24);
        ASSERT_NE(nullptr, tiny);
        SDL_FillRect(tiny, nullptr, SDL_MapRGB(tiny->format, 200, 40, 40));
        ASSERT_EQ(0, IMG_SavePNG(tiny, file));
        SDL_FreeSurface(tiny);
    }
    ASSERT_TRUE(load_media()) << "a small sheet still loads";
    dev_mode = true;
    std::vector<harness::Batch> script(300);
    script[5] = {harness::move_to(100, 380)};
    script.push_back({harness::quit()});
    harness::run_script(script);
    {
        harness::CapturedStdout out;
        run_main_menu();
    }
    EXPECT_EQ(301u, harness::frames().size());
}

TEST_F(MediaTest, AFailedButtonStaysEmptyAndTheRestStillLoads)
{
    fs::remove("pngs/start_button_sprites.png");
    harness::CapturedStdout out;
    EXPECT_FALSE(load_media());
    EXPECT_EQ(nullptr, start_button.sheet);
    EXPECT_EQ(0, start_button.width);
    EXPECT_EQ(nullptr, start_button.idle_clip);
    EXPECT_NE(nullptr, alpha_texture.sdl_texture);
    EXPECT_EQ(46, letter_clips[1].w) << "the letters sheet loads after the failed button";
}

TEST_F(MediaTest, AFailedLettersSheetLeavesItsTablesEmpty)
{
    fs::remove("pngs/letters_sprites.png");
    harness::CapturedStdout out;
    EXPECT_FALSE(load_media());
    EXPECT_TRUE(same(SDL_Rect{0, 0, 0, 0}, letter_clips[26]));
    EXPECT_TRUE(same(SDL_Rect{0, 0, 0, 0}, small_letter_clips[3]));
    EXPECT_TRUE(same(SDL_Rect{0, 0, 0, 0}, digit_clips[9]));
    EXPECT_NE(nullptr, hung_boi_texture.sdl_texture);
}

TEST_F(MediaTest, AMissingFontGoesUnnoticed)
{
    fs::remove("png/AtariST8x16SystemFont.ttf");
    harness::CapturedStdout out;
    EXPECT_TRUE(load_media());
    EXPECT_EQ("", out.text());
    EXPECT_EQ(nullptr, font);
}

}  // namespace
