// baseline: only the unavoidable part of the game's start-up, to compare the
// game with: SDL, the window, the vsync renderer, the same fifteen images
// decoded into textures, and one present. Prints the microseconds from main()
// to the first present and the peak resident memory in KiB.
//
//   baseline          (run from the folder with pngs/)
#include <SDL.h>
#include <SDL_image.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    const auto start = std::chrono::steady_clock::now();
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
    SDL_Texture* textures[15] = {};
    for (int i = 0; i < 15; ++i) {
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

    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%lld %ld\n", static_cast<long long>(micros), usage.ru_maxrss);

    for (SDL_Texture* texture : textures) {
        SDL_DestroyTexture(texture);
    }
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    IMG_Quit();
    SDL_Quit();
    return 0;
}
