// reference_frame: what the desktop build shows and prints, for the tests
// that play the game elsewhere (the web page, the real window) to compare
// with. Plays one screen offscreen with the same input those tests give and
// writes the frame drawn after it as a PNG, or the console text.
//
//   reference_frame <output.png> <screen> [<word> <keys>]
//   reference_frame <output.txt | -> game-console <word> <keys>
//
// Screens: menu (the pointer away from the buttons), menu-start (over
// Start), options-off, options-on (the switch pressed, the pointer moved
// away), difficulty-medium (over Medium), game (the word, and the keys typed
// into it: letters, a space to guess, a backspace to clear). game-console
// plays the same game in developer mode and writes what it prints, from
// "word = " on; "-" writes it to standard output.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "game/play.hpp"
#include "gfx/media.hpp"
#include "screens/difficulty.hpp"
#include "screens/options.hpp"
#include "support/harness.hpp"

using namespace hangman;

namespace {

struct Screen {
    const char* name;
    std::function<void()> run;
    harness::Batch input;
    bool console;  // writes what the screen printed instead of its frame
};

// Saves the first frame, the one drawn once the input was handled.
bool save_first_frame(const char* path)
{
    const auto& frames = harness::frames();
    if (frames.empty() || frames.front().pixels.empty()) {
        return false;
    }
    std::vector<Uint32> pixels = frames.front().pixels;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), window_width, window_height, 32, window_width * 4, SDL_PIXELFORMAT_ARGB8888);
    const bool saved = surface != nullptr && IMG_SavePNG(surface, path) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

bool save_text(const char* path, const std::string& text)
{
    FILE* file = std::strcmp(path, "-") == 0 ? stdout : std::fopen(path, "wb");
    const bool saved =
        file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr && file != stdout) {
        std::fclose(file);
    }
    return saved;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: reference_frame <output.png> <screen> [<word> <keys>]\n");
        return 2;
    }
    const std::string word = argc > 3 ? argv[3] : "";
    harness::Batch typed;
    for (const char* key = argc > 4 ? argv[4] : ""; *key != '\0'; ++key) {
        typed.push_back(harness::key(*key));
    }
    const std::vector<Screen> screens = {
        {"menu", [] { run_main_menu(); }, {harness::move_to(500, 200)}, false},
        {"menu-start", [] { run_main_menu(); }, {harness::move_to(150, 390)}, false},
        {"options-off", [] { run_options_screen(); }, {harness::move_to(400, 250)}, false},
        {"options-on",
         [] { run_options_screen(); },
         {harness::press(230, 367), harness::move_to(400, 250)},
         false},
        {"difficulty-medium", [] { run_difficulty_screen(); }, {harness::move_to(320, 310)}, false},
        {"game", [&word] { play_game(word); }, typed, false},
        {"game-console",
         [&word] {
             dev_mode = true;
             play_game(word);
         },
         typed, true},
    };

    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (!harness::start_game_media()) {
        close();
        return 1;
    }
    harness::capture_pixels(true);
    for (const Screen& screen : screens) {
        if (std::strcmp(screen.name, argv[2]) == 0) {
            harness::run_script({screen.input});
            std::string printed;
            {
                harness::CapturedStdout console;
                screen.run();
                printed = console.text();
            }
            const bool saved =
                screen.console ? save_text(argv[1], printed) : save_first_frame(argv[1]);
            close();
            if (!saved) {
                std::fprintf(stderr, "reference_frame: cannot write %s: %s\n", argv[1],
                             SDL_GetError());
            }
            return saved ? 0 : 1;
        }
    }
    std::fprintf(stderr, "reference_frame: no screen called %s\n", argv[2]);
    close();
    return 2;
}
