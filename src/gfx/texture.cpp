// Loading, drawing and freeing of image textures (see texture.hpp).
#include "gfx/texture.hpp"

#include <SDL_image.h>

#include "gfx/media.hpp"
#include "platform/log.hpp"
#include "platform/platform.hpp"

namespace hangman {

Texture::~Texture()
{
    free();
}

bool Texture::load_from_file(std::string path)
{
    free();

    SDL_Surface* surface = IMG_Load(path.c_str());
    if (surface == nullptr) {
        log("Unable to load image %s. SDL_image ERROR: %s\n", path.c_str(), SDL_GetError());
        return false;
    }

    SDL_SetColorKey(surface, SDL_TRUE,
                    SDL_MapRGB(surface->format, colour_key_red, colour_key_green, colour_key_blue));

    SDL_Texture* created = SDL_CreateTextureFromSurface(renderer, surface);
    if (created == nullptr) {
        log("Unable t0 create texture from %s. SDL ERROR: %s\n", path.c_str(), SDL_GetError());
    } else {
        // Nothing is ever drawn scaled, and at a copy's own size and whole-pixel
        // positions nearest filtering gives the same pixels as linear, for less.
        SDL_SetTextureScaleMode(created, SDL_ScaleModeNearest);
        width = surface->w;
        height = surface->h;
    }
    SDL_FreeSurface(surface);
    platform_pause();

    sdl_texture = created;
    return sdl_texture != nullptr;
}

void Texture::render(int x, int y, const SDL_Rect* clip) const
{
    SDL_Rect destination = {x, y, width, height};
    if (clip != nullptr) {
        destination.w = clip->w;
        destination.h = clip->h;
    }
    SDL_RenderCopyEx(renderer, sdl_texture, clip, &destination, 0.0, nullptr, SDL_FLIP_NONE);
}

void Texture::free()
{
    if (sdl_texture != nullptr) {
        SDL_DestroyTexture(sdl_texture);
        sdl_texture = nullptr;
        width = 0;
        height = 0;
    }
}

}  // namespace hangman
