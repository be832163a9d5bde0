// A small anti-aliased drawing surface for the artwork tool: filled shapes
// with smooth edges, text from TrueType fonts, and export to a PNG in which
// untouched pixels take the game's colour key (transparent when loaded).
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

struct Colour {
    float r;
    float g;
    float b;
};

constexpr Colour rgb(int r, int g, int b)
{
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

enum class Align { left, centre, right };

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Shapes take continuous coordinates: a rectangle from x0 to x1 covers the
    // pixels x0 .. x1 - 1 when both are whole numbers.
    void fill(Colour colour);
    void rect(float x0, float y0, float x1, float y1, Colour colour);
    void round_rect(float x0, float y0, float x1, float y1, float radius, Colour colour);
    void round_rect_outline(float x0, float y0, float x1, float y1, float radius, float thickness,
                            Colour colour);
    void circle(float cx, float cy, float radius, Colour colour);
    void ring(float cx, float cy, float radius, float thickness, Colour colour);
    void line(float ax, float ay, float bx, float by, float width, Colour colour);

    // Draws text so that its inked pixels are centred vertically on y and,
    // horizontally, centred on x or starting or ending at x.
    void text(TTF_Font* font, const std::string& text, Colour colour, float x, float y,
              Align align = Align::centre);

    // Writes the canvas as a 24-bit PNG. Pixels nothing was drawn on become
    // the colour key; edge pixels are blended towards `matte`, the colour the
    // picture will be seen against.
    bool save_png(const std::string& path, Colour matte) const;

    // Writes the canvas as a 32-bit PNG with real transparency (for icons).
    bool save_png_with_alpha(const std::string& path) const;

private:
    template <typename Inside>
    void fill_shape(float x0, float y0, float x1, float y1, Colour colour, Inside inside);
    void blend(int x, int y, Colour colour, float coverage);
    template <typename WritePixel>
    bool write_png(const std::string& path, Uint32 format, WritePixel write_pixel) const;

    int width_;
    int height_;
    std::vector<float> pixels_;  // premultiplied r, g, b, a per pixel
};

// Opens fonts once and keeps them for the tool's whole run.
TTF_Font* open_font(const std::string& path, int point_size);

// The largest size, at most `max_size`, at which `text` inks within w x h.
TTF_Font* fit_font(const std::string& path, const std::string& text, int w, int h, int max_size);

void close_fonts();
