// The artwork tool's drawing surface (see canvas.hpp). Edges are smoothed by
// testing 4 x 4 sample points inside every pixel a shape touches.
#include "canvas.hpp"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr int samples = 4;

struct InkBox {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;  // exclusive
    int y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

InkBox ink_box(SDL_Surface* surface)
{
    InkBox box{surface->w, surface->h, 0, 0};
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const Uint32*>(surface->pixels) + y * surface->pitch / 4;
        for (int x = 0; x < surface->w; ++x) {
            Uint8 r = 0;
            Uint8 g = 0;
            Uint8 b = 0;
            Uint8 a = 0;
            SDL_GetRGBA(row[x], surface->format, &r, &g, &b, &a);
            if (a > 24) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
        }
    }
    return box;
}

SDL_Surface* render_text(TTF_Font* font, const std::string& text)
{
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr) {
        return nullptr;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    return converted;
}

std::map<std::pair<std::string, int>, TTF_Font*>& font_cache()
{
    static std::map<std::pair<std::string, int>, TTF_Font*> cache;
    return cache;
}

Uint8 to_byte(float value)
{
    return static_cast<Uint8>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height * 4), 0.0f)
{
}

void Canvas::blend(int x, int y, Colour colour, float coverage)
{
    float* p = &pixels_[static_cast<size_t>((y * width_ + x) * 4)];
    const float keep = 1.0f - coverage;
    p[0] = colour.r * coverage + p[0] * keep;
    p[1] = colour.g * coverage + p[1] * keep;
    p[2] = colour.b * coverage + p[2] * keep;
    p[3] = coverage + p[3] * keep;
}

template <typename Inside>
void Canvas::fill_shape(float x0, float y0, float x1, float y1, Colour colour, Inside inside)
{
    const int px0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int py0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int px1 = std::min(width_, static_cast<int>(std::ceil(x1)));
    const int py1 = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = py0; y < py1; ++y) {
        for (int x = px0; x < px1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const float fx =
                        static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / samples;
                    const float fy =
                        static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / samples;
                    hits += inside(fx, fy) ? 1 : 0;
                }
            }
            if (hits > 0) {
                blend(x, y, colour, static_cast<float>(hits) / (samples * samples));
            }
        }
    }
}

void Canvas::fill(Colour colour)
{
    rect(0, 0, static_cast<float>(width_), static_cast<float>(height_), colour);
}

void Canvas::rect(float x0, float y0, float x1, float y1, Colour colour)
{
    fill_shape(x0, y0, x1, y1, colour,
               [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

static bool in_round_rect(float x, float y, float x0, float y0, float x1, float y1, float r)
{
    if (x < x0 || x >= x1 || y < y0 || y >= y1) {
        return false;
    }
    const float dx = std::max({x0 + r - x, x - (x1 - r), 0.0f});
    const float dy = std::max({y0 + r - y, y - (y1 - r), 0.0f});
    return dx * dx + dy * dy <= r * r;
}

void Canvas::round_rect(float x0, float y0, float x1, float y1, float radius, Colour colour)
{
    fill_shape(x0, y0, x1, y1, colour,
               [=](float x, float y) { return in_round_rect(x, y, x0, y0, x1, y1, radius); });
}

void Canvas::round_rect_outline(float x0, float y0, float x1, float y1, float radius,
                                float thickness, Colour colour)
{
    const float t = thickness;
    const float inner = std::max(0.0f, radius - t);
    fill_shape(x0, y0, x1, y1, colour, [=](float x, float y) {
        return in_round_rect(x, y, x0, y0, x1, y1, radius) &&
               !in_round_rect(x, y, x0 + t, y0 + t, x1 - t, y1 - t, inner);
    });
}

void Canvas::circle(float cx, float cy, float radius, Colour colour)
{
    fill_shape(cx - radius, cy - radius, cx + radius, cy + radius, colour, [=](float x, float y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
}

void Canvas::ring(float cx, float cy, float radius, float thickness, Colour colour)
{
    const float inner = radius - thickness;
    fill_shape(cx - radius, cy - radius, cx + radius, cy + radius, colour, [=](float x, float y) {
        const float d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d2 <= radius * radius && d2 > inner * inner;
    });
}

void Canvas::line(float ax, float ay, float bx, float by, float width, Colour colour)
{
    const float half = width / 2.0f;
    const float dx = bx - ax;
    const float dy = by - ay;
    const float length2 = std::max(dx * dx + dy * dy, 1e-6f);
    fill_shape(std::min(ax, bx) - half, std::min(ay, by) - half, std::max(ax, bx) + half,
               std::max(ay, by) + half, colour, [=](float x, float y) {
                   const float t =
                       std::clamp(((x - ax) * dx + (y - ay) * dy) / length2, 0.0f, 1.0f);
                   const float ex = ax + t * dx - x;
                   const float ey = ay + t * dy - y;
                   return ex * ex + ey * ey <= half * half;
               });
}

void Canvas::text(TTF_Font* font, const std::string& text, Colour colour, float x, float y,
                  Align align)
{
    SDL_Surface* surface = render_text(font, text);
    if (surface == nullptr) {
        return;
    }
    const InkBox box = ink_box(surface);
    if (!box.empty()) {
        const int ink_w = box.x1 - box.x0;
        const int ink_h = box.y1 - box.y0;
        int left = static_cast<int>(std::lround(x));
        if (align == Align::centre) {
            left = static_cast<int>(std::lround(x - static_cast<float>(ink_w) / 2.0f));
        } else if (align == Align::right) {
            left = static_cast<int>(std::lround(x)) - ink_w;
        }
        const int top = static_cast<int>(std::lround(y - static_cast<float>(ink_h) / 2.0f));
        // The box only places the text; faint pixels outside it are drawn too.
        for (int sy = 0; sy < surface->h; ++sy) {
            const auto* row = static_cast<const Uint32*>(surface->pixels) + sy * surface->pitch / 4;
            for (int sx = 0; sx < surface->w; ++sx) {
                const int tx = left + sx - box.x0;
                const int ty = top + sy - box.y0;
                const float alpha = static_cast<float>((row[sx] >> 24) & 0xff) / 255.0f;
                if (alpha > 0.0f && tx >= 0 && ty >= 0 && tx < width_ && ty < height_) {
                    blend(tx, ty, colour, alpha);
                }
            }
        }
    }
    SDL_FreeSurface(surface);
}

template <typename WritePixel>
bool Canvas::write_png(const std::string& path, Uint32 format, WritePixel write_pixel) const
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 32, format);
    if (surface == nullptr) {
        return false;
    }
    const int bytes = surface->format->BytesPerPixel;
    for (int y = 0; y < height_; ++y) {
        auto* row = static_cast<Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width_; ++x) {
            write_pixel(&pixels_[static_cast<size_t>((y * width_ + x) * 4)], row + x * bytes);
        }
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

bool Canvas::save_png(const std::string& path, Colour matte) const
{
    return write_png(path, SDL_PIXELFORMAT_RGB24, [matte](const float* p, Uint8* out) {
        if (p[3] < 0.04f) {
            out[0] = 30;  // the colour key: transparent in the game
            out[1] = 218;
            out[2] = 2;
            return;
        }
        const float behind = 1.0f - p[3];
        out[0] = to_byte(p[0] + matte.r * behind);
        out[1] = to_byte(p[1] + matte.g * behind);
        out[2] = to_byte(p[2] + matte.b * behind);
        if (out[0] == 30 && out[1] == 218 && out[2] == 2) {
            out[1] = 217;  // a drawn pixel must never read as transparent
        }
    });
}

bool Canvas::save_png_with_alpha(const std::string& path) const
{
    return write_png(path, SDL_PIXELFORMAT_RGBA32, [](const float* p, Uint8* out) {
        const float alpha = p[3];
        for (int c = 0; c < 3; ++c) {
            out[c] = alpha > 0.0f ? to_byte(p[c] / alpha) : 0;
        }
        out[3] = to_byte(alpha * 255.0f);
    });
}

TTF_Font* open_font(const std::string& path, int point_size)
{
    auto& cache = font_cache();
    const auto key = std::make_pair(path, point_size);
    auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second;
    }
    TTF_Font* font = TTF_OpenFont(path.c_str(), point_size);
    if (font != nullptr) {
        cache[key] = font;
    }
    return font;
}

TTF_Font* fit_font(const std::string& path, const std::string& text, int w, int h, int max_size)
{
    for (int size = max_size; size > 4; --size) {
        TTF_Font* font = open_font(path, size);
        if (font == nullptr) {
            return nullptr;
        }
        SDL_Surface* surface = render_text(font, text);
        if (surface == nullptr) {
            continue;
        }
        const InkBox box = ink_box(surface);
        SDL_FreeSurface(surface);
        if (box.x1 - box.x0 <= w && box.y1 - box.y0 <= h) {
            return font;
        }
    }
    return open_font(path, 5);
}

void close_fonts()
{
    for (auto& entry : font_cache()) {
        TTF_CloseFont(entry.second);
    }
    font_cache().clear();
}
