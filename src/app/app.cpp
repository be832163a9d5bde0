// Program start-up and shutdown, and the order in which the stages run.
#include "app/app.hpp"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "access/controller.hpp"
#include "access/speech.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/log.hpp"
#include "platform/platform.hpp"

namespace hangman {

namespace {

// Where there is no display (no DISPLAY in an SSH session, say), SDL falls
// back to a video driver that shows nothing, and the game would run unseen
// for ever: that is a failed start, unless that driver was asked for through
// SDL_VIDEODRIVER. False, with SDL's error set, when there is no display.
bool display_found()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (driver == nullptr || (asked != nullptr && *asked != '\0') ||
        (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) {
        return true;
    }
    SDL_SetError(
        "No display found (SDL fell back to its %s video driver, which shows nothing; "
        "set SDL_VIDEODRIVER=%s to run without a display)",
        driver, driver);
    return false;
}

// The window's icon is cosmetic: without a readable icon.png the game starts
// just the same, silently, and no later line shows the loader's error.
void set_window_icon()
{
    SDL_Surface* icon = IMG_Load("icon.png");
    if (icon == nullptr) {
        SDL_ClearError();
        return;
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

}  // namespace

bool init()
{
    bool success = true;

    platform_prepare();
    const bool video = SDL_Init(SDL_INIT_VIDEO) == 0;
    if (!video || !display_found()) {
        log("SDL could not initialize. SDL ERROR: %s\n", SDL_GetError());
        if (video) {
            // No window could be seen: none is made, and nothing of the video
            // stack (EGL, Mesa) is started only to say so in words of its own.
            return false;
        }
        success = false;
    } else if (!SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1")) {
        log("Warning: Linear texture filtering not enabled!");
    }

    // Tried even when SDL_Init failed: its own line then tells why. It opens
    // at the picture's size; made larger, fullscreen or denser, the picture
    // is scaled to fill it (present_frame).
    window =
        SDL_CreateWindow("SDL Tutorial", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         window_width, window_height, SDL_WINDOW_SHOWN | platform_window_flags());
    if (window == nullptr) {
        log("Window could not be created! SDL Error: %s\n", SDL_GetError());
        return false;
    }
    // Straight on to the renderer: a page that the browser drew in between
    // would have its graphics process busy just when the game asks it for
    // its context.
    platform_window_created(window);
    SDL_SetWindowMinimumSize(window, window_width / 2, window_height / 2);

    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) {
        log("Renderer could not be created! SDL Error: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    platform_pause();

    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0) {
        log("SDL_image could not initialize! SDL_image Error: %s\n", SDL_GetError());
        success = false;
    }
    if (TTF_Init() == -1) {
        log("SDL_ttf could not initialize! SDL_ttf Error: %s\n", SDL_GetError());
        success = false;
    }
    if (success) {
        set_window_icon();
        // Both optional: the game plays without controllers and without speech.
        start_controllers();
        start_speech();
    }
    return success;
}

void close()
{
    stop_speech();
    stop_controllers();
    // Every texture goes before the renderer that created it.
    free_media();
    free_frame();

    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    SDL_DestroyWindow(window);
    window = nullptr;

    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
}

int run_program()
{
    // Everything printed leaves at once, also into a pipe or a file, and
    // also where the C runtime would treat line buffering as full buffering
    // (Microsoft's does): standard output is not buffered at all.
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    int status = 1;
    if (!init()) {
        log("Failed to initialize.\n");
    } else {
        log("initialize complete!\n");
        if (!load_media()) {
            log("Failed to load media.\n");
        } else {
            log("load media complete!\n");
            run_main_menu();
            status = 0;
        }
    }
    close();
    return status;
}

}  // namespace hangman
