// Texture: one image file decoded into a texture of the global renderer,
// with the colour red 30, green 218, blue 2 made transparent. It is drawn
// unscaled at a point, whole or through a clip rectangle.
#pragma once

#include <SDL.h>

#include <string>

namespace hangman {

struct Texture {
    SDL_Texture* sdl_texture = nullptr;
    int width = 0;  // pixel size of the loaded image; 0 while empty
    int height = 0;

    Texture() = default;
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Replaces whatever the record held with the image at `path`; false when
    // the file could not be decoded or the renderer refused the texture (a
    // console line says which), and the record is then empty.
    bool load_from_file(std::string path);

    // Draws the texture (or the `clip` of it) with its top-left corner at
    // (x, y), at the clip's size or the image's own size, never scaled.
    void render(int x, int y, const SDL_Rect* clip = nullptr) const;

    // Destroys the SDL texture, if any, and empties the record. Safe to repeat.
    void free();
};

// The colour key that marks transparent pixels in every image file.
constexpr Uint8 colour_key_red = 30;
constexpr Uint8 colour_key_green = 218;
constexpr Uint8 colour_key_blue = 2;

}  // namespace hangman
