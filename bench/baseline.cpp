// baseline: a bare SDL program doing only the unavoidable part of the game's
// work, to compare the game with.
//
//   baseline          start-up: SDL, the window, the vsync renderer, the same
//                     fifteen images decoded into textures, one present; prints
//                     the microseconds from main() to the first present and
//                     the peak resident memory in KiB, then ends
//   baseline menu     the main menu's frame (background, two buttons, the
//                     figure) drawn over and over at the display's rate, with
//                     SDL's default filtering, until the window is closed
//
// Run it from the folder with pngs/.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const char* const files[] = {
    "pngs/menu_screen.png",          "pngs/options_menu.png",
    "pngs/difficulty_screen.png",    "pngs/game_screen.png",
    "pngs/win_screen.png",           "pngs/lose_screen.png",
    "pngs/start_button_sprites.png", "pngs/option_button_sprites.png",
    "pngs/easy_button_sprites.png",  "pngs/med_button_sprites.png",
    "pngs/hard_button_sprites.png",  "pngs/back_button_sprite.png",
    "pngs/off_on_button.png",        "pngs/hung_boi_sprites.png",
    "pngs/letters_sprites.png",
};
constexpr int image_count = 15;

void copy(SDL_Renderer* renderer, SDL_Texture* texture, SDL_Rect clip, int x, int y)
{
    const SDL_Rect destination = {x, y, clip.w, clip.h};
    SDL_RenderCopy(renderer, texture, &clip, &destination);
}

// Draws the menu until a close request, sleeping the rest of a 60 Hz frame
// after each present where vsync did not wait (the game's own rule).
void run_menu(SDL_Renderer* renderer, SDL_Texture* const* textures)
{
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    Uint64 previous = SDL_GetPerformanceCounter();
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                return;
            }
        }
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, textures[0], nullptr, nullptr);
        copy(renderer, textures[6], {0, 0, 240, 60}, 60, 360);
        copy(renderer, textures[7], {0, 0, 240, 60}, 340, 360);
        copy(renderer, textures[13], {0, 0, 55, 65}, 293, 150);
        SDL_RenderPresent(renderer);

        const Uint64 elapsed = SDL_GetPerformanceCounter() - previous;
        if (elapsed < frequency / 60) {
            SDL_Delay(static_cast<Uint32>((frequency / 60 - elapsed) * 1000 / frequency));
        }
        previous = SDL_GetPerformanceCounter();
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool menu = argc > 1 && std::strcmp(argv[1], "menu") == 0;
    const auto start = std::chrono::steady_clock::now();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("baseline", SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, 640, 480, SDL_WINDOW_SHOWN);
    SDL_Renderer* renderer =
        window != nullptr
            ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC)
            : nullptr;
    if (renderer == nullptr || (IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0) {
        return 1;
    }
    SDL_Texture* textures[image_count] = {};
    for (int i = 0; i < image_count; ++i) {
        SDL_Surface* surface = IMG_Load(files[i]);
        if (surface == nullptr) {
            return 1;
        }
        SDL_SetColorKey(surface, SDL_TRUE, SDL_MapRGB(surface->format, 30, 218, 2));
        textures[i] = SDL_CreateTextureFromSurface(renderer, surface);
        SDL_FreeSurface(surface);
    }
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, textures[0], nullptr, nullptr);
    SDL_RenderPresent(renderer);

    if (menu) {
        run_menu(renderer, textures);
    } else {
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%lld %ld\n", static_cast<long long>(micros), usage.ru_maxrss);
    }

    for (SDL_Texture* texture : textures) {
        SDL_DestroyTexture(texture);
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    IMG_Quit();
    SDL_Quit();
    return 0;
}
