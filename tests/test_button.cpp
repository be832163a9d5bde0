// Sprite buttons and textures: the hit test, the looks, the press latch, and
// what a texture draws and frees.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gfx/button.hpp"
#include "gfx/media.hpp"
#include "support/harness.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

namespace {

class ButtonTest : public harness::GameTest {
protected:
    void SetUp() override
    {
        harness::GameTest::SetUp();
        button.x = 60;
        button.y = 360;
        button.width = 240;
        button.height = 60;
        button.idle_clip = &start_button_clips[0];
        button.hover_clip = &start_button_clips[1];
        button.sheet = &start_button_texture;
    }

    void point_at(int x, int y)
    {
        SDL_WarpMouseInWindow(window, x, y);
        harness::flush_events();
    }

    static SDL_Event event_of_type(Uint32 type, Uint8 mouse_button = SDL_BUTTON_LEFT)
    {
        SDL_Event event{};
        event.type = type;
        event.button.button = mouse_button;
        return event;
    }

    Button button;
};

TEST_F(ButtonTest, HitTestCountsBothFarEdgesAsInside)
{
    struct Case {
        int x;
        int y;
        bool inside;
    };
    const Case cases[] = {
        {60, 360, true},   {300, 420, true},  {300, 360, true},  {60, 420, true},
        {180, 390, true},  {301, 390, false}, {180, 421, false}, {59, 390, false},
        {180, 359, false}, {301, 421, false},
    };
    for (const Case& c : cases) {
        point_at(c.x, c.y);
        button.pressed = false;
        button.handle_event(event_of_type(SDL_MOUSEBUTTONDOWN));
        EXPECT_EQ(c.inside, button.pressed) << "press at (" << c.x << ", " << c.y << ")";
        EXPECT_EQ(c.inside ? button.hover_clip : button.idle_clip, button.current_clip)
            << "look at (" << c.x << ", " << c.y << ")";
    }
}

TEST_F(ButtonTest, AnyMouseButtonPresses)
{
    point_at(100, 380);
    for (int which : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT, SDL_BUTTON_X1}) {
        button.pressed = false;
        button.handle_event(event_of_type(SDL_MOUSEBUTTONDOWN, static_cast<Uint8>(which)));
        EXPECT_TRUE(button.pressed) << "mouse button " << int(which);
    }
}

TEST_F(ButtonTest, OtherEventsPutTheIdleLookBackEvenUnderThePointer)
{
    point_at(100, 380);
    for (Uint32 type : {SDL_MOUSEBUTTONUP, SDL_KEYDOWN, SDL_KEYUP, SDL_WINDOWEVENT, SDL_QUIT}) {
        button.handle_event(event_of_type(SDL_MOUSEMOTION));
        ASSERT_EQ(button.hover_clip, button.current_clip);
        button.handle_event(event_of_type(type));
        EXPECT_EQ(button.idle_clip, button.current_clip) << "event type " << type;
        EXPECT_FALSE(button.pressed) << "event type " << type;
    }
}

TEST_F(ButtonTest, LatchHoldsUntilTheScreenClearsIt)
{
    point_at(100, 380);
    button.handle_event(event_of_type(SDL_MOUSEBUTTONDOWN));
    point_at(10, 10);
    button.handle_event(event_of_type(SDL_MOUSEMOTION));
    button.handle_event(event_of_type(SDL_MOUSEBUTTONDOWN));
    button.handle_event(event_of_type(SDL_MOUSEBUTTONUP));
    EXPECT_TRUE(button.pressed);
    EXPECT_EQ(button.idle_clip, button.current_clip);
}

TEST_F(ButtonTest, PointerPositionWhenHandledDecidesNotTheEventsOwn)
{
    SDL_Event press = event_of_type(SDL_MOUSEBUTTONDOWN);
    press.button.x = 100;  // queued over the button ...
    press.button.y = 380;
    point_at(500, 100);  // ... but the pointer has moved away since
    button.handle_event(press);
    EXPECT_FALSE(button.pressed);
}

TEST_F(ButtonTest, DrawsItsIdleLookBeforeItsFirstEvent)
{
    harness::run_script({});
    button.render();
    ASSERT_EQ(1u, harness::pending_copies().size());
    const harness::Copy& copy = harness::pending_copies()[0];
    EXPECT_TRUE(copy.has_clip) << "a button without an event must not show its whole sheet";
    EXPECT_EQ(0, copy.clip.y);
    EXPECT_EQ(60, copy.clip.h);
    EXPECT_EQ(60, copy.destination.x);
    EXPECT_EQ(360, copy.destination.y);
    EXPECT_EQ(240, copy.destination.w);
    EXPECT_EQ(60, copy.destination.h);
}

TEST_F(ButtonTest, TextureDrawsAtItsOwnSizeOrTheClipsSize)
{
    harness::run_script({});
    const SDL_Rect clip = {0, 53, 46, 52};
    alpha_texture.render(5, 7);
    alpha_texture.render(-3, 400, &clip);
    const auto& copies = harness::pending_copies();
    ASSERT_EQ(2u, copies.size());
    EXPECT_FALSE(copies[0].has_clip);
    EXPECT_EQ(68, copies[0].destination.w);
    EXPECT_EQ(1430, copies[0].destination.h);
    EXPECT_EQ(-3, copies[1].destination.x);
    EXPECT_EQ(46, copies[1].destination.w);
    EXPECT_EQ(52, copies[1].destination.h);
}

TEST_F(ButtonTest, FailedReloadEmptiesTheTextureAndFreeCanRepeat)
{
    Texture texture;
    ASSERT_TRUE(texture.load_from_file("pngs/back_button_sprite.png"));
    EXPECT_EQ(52, texture.width);
    EXPECT_EQ(104, texture.height);

    harness::CapturedStdout out;
    EXPECT_FALSE(texture.load_from_file("pngs/no_such_file.png"));
    EXPECT_EQ(
        "Unable to load image pngs/no_such_file.png. SDL_image ERROR: Couldn't open "
        "pngs/no_such_file.png\n",
        out.text());
    EXPECT_EQ(nullptr, texture.sdl_texture);
    EXPECT_EQ(0, texture.width);
    EXPECT_EQ(0, texture.height);

    hooks::shutdown_trace().clear();
    texture.free();
    texture.free();
    EXPECT_TRUE(hooks::shutdown_trace().empty()) << "freeing an empty texture destroyed something";
}

TEST_F(ButtonTest, OnlyTheExactColourKeyIsTransparent)
{
    struct Case {
        Uint8 r, g, b;
        bool transparent;
    };
    const Case cases[] = {
        {30, 218, 2, true},  {31, 218, 2, false}, {29, 218, 2, false},
        {30, 219, 2, false}, {30, 217, 2, false}, {30, 218, 3, false},
        {30, 218, 1, false}, {0, 0, 0, false},    {2, 218, 30, false},
    };
    const int count = static_cast<int>(sizeof cases / sizeof cases[0]);
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, count, 1, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(nullptr, image);
    for (int i = 0; i < count; ++i) {
        auto* pixel = static_cast<Uint8*>(image->pixels) + 3 * i;
        pixel[0] = cases[i].r;
        pixel[1] = cases[i].g;
        pixel[2] = cases[i].b;
    }
    const std::string path = harness::enter_scratch_copy_of_assets() + "/key.png";
    ASSERT_EQ(0, IMG_SavePNG(image, path.c_str())) << SDL_GetError();
    SDL_FreeSurface(image);

    Texture texture;
    ASSERT_TRUE(texture.load_from_file(path));
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
    texture.render(0, 0);
    Uint32 drawn[sizeof cases / sizeof cases[0]] = {};
    const SDL_Rect row = {0, 0, count, 1};
    SDL_RenderReadPixels(renderer, &row, SDL_PIXELFORMAT_RGB888, drawn, count * 4);

    for (int i = 0; i < count; ++i) {
        const Case& c = cases[i];
        const Uint32 own = (Uint32(c.r) << 16) | (Uint32(c.g) << 8) | c.b;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%06X", c.transparent ? 0xFFFFFFu : own);
        char got[16];
        std::snprintf(got, sizeof got, "%06X", drawn[i] & 0xFFFFFFu);
        EXPECT_STREQ(expected, got) << "a pixel of colour " << int(c.r) << ", " << int(c.g) << ", "
                                    << int(c.b) << " drawn over white";
    }
}

}  // namespace
