// What only Linux does (see platform.hpp): the video driver and the click
// that focuses, and the game's own voice, through speech-dispatcher, whose
// library is loaded when the first text is spoken: where it is missing, the
// game starts and plays all the same, silently. What the desktop says, and
// the accessibility tree, are linux_desktop.cpp's.
#include <speech-dispatcher/libspeechd.h>

#include <cstdlib>
#include <string>

#include "platform/platform.hpp"

namespace {

// How often a missing speech server is looked for again.
constexpr Uint32 look_again_ms = 5000;

// speech-dispatcher's client library, once loaded (it stays loaded to the
// end), and the connection.
struct Speechd {
    void* library = nullptr;
    decltype(&spd_get_default_address) address = nullptr;
    decltype(&SPDConnectionAddress__free) free_address = nullptr;
    decltype(&spd_open2) open = nullptr;
    decltype(&spd_say) say = nullptr;
    decltype(&spd_close) close = nullptr;
    SPDConnection* connection = nullptr;
    bool looked = false;  // for a server, and found none, at `looked_at`
    Uint32 looked_at = 0;
};
Speechd speechd;

bool load_speechd()
{
    if (speechd.library == nullptr) {
        speechd.library = SDL_LoadObject("libspeechd.so.2");
        if (speechd.library == nullptr) {
            SDL_ClearError();
            return false;
        }
        speechd.address = reinterpret_cast<decltype(&spd_get_default_address)>(
            SDL_LoadFunction(speechd.library, "spd_get_default_address"));
        speechd.free_address = reinterpret_cast<decltype(&SPDConnectionAddress__free)>(
            SDL_LoadFunction(speechd.library, "SPDConnectionAddress__free"));
        speechd.open =
            reinterpret_cast<decltype(&spd_open2)>(SDL_LoadFunction(speechd.library, "spd_open2"));
        speechd.say =
            reinterpret_cast<decltype(&spd_say)>(SDL_LoadFunction(speechd.library, "spd_say"));
        speechd.close =
            reinterpret_cast<decltype(&spd_close)>(SDL_LoadFunction(speechd.library, "spd_close"));
    }
    return speechd.address != nullptr && speechd.free_address != nullptr &&
           speechd.open != nullptr && speechd.say != nullptr && speechd.close != nullptr;
}

}  // namespace

namespace hangman {

void platform_prepare()
{
    // The click that brings the window to the front also presses what it
    // lands on, as in any other program.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Where no Wayland display can be reached (no runtime folder, as over
    // SSH), SDL is not to look for one: Wayland's library would only print
    // a complaint of its own before the game says what is missing.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const bool wayland = (runtime != nullptr && *runtime != '\0') ||
                         std::getenv("WAYLAND_SOCKET") || (display != nullptr && display[0] == '/');
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (!wayland && (asked == nullptr || *asked == '\0')) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,kmsdrm,offscreen,dummy",
                                SDL_HINT_OVERRIDE);
    }
}

void platform_window_created(SDL_Window*) {}

void platform_voice_say(const std::string& text)
{
    // No server: looked for again now and then (one may start later), not
    // at every text.
    // An address set but empty names no server, and the library reads past
    // the end of it: nothing is said.
    const char* address_given = std::getenv("SPEECHD_ADDRESS");
    if (address_given != nullptr && *address_given == '\0') {
        return;
    }
    const Uint32 now = SDL_GetTicks();
    if (speechd.connection == nullptr &&
        (!speechd.looked || now - speechd.looked_at >= look_again_ms) && load_speechd()) {
        // The default address (SPEECHD_ADDRESS, else the user's socket), the
        // server started where it is not running. What the library hands
        // out, the address and the reasons it failed, is its caller's to free.
        char* failure = nullptr;
        SPDConnectionAddress* address = speechd.address(&failure);
        std::free(failure);
        failure = nullptr;
        if (address != nullptr) {
            speechd.connection = speechd.open("chalk-hangman", "main", nullptr, SPD_MODE_SINGLE,
                                              address, 1, &failure);
            std::free(failure);
            speechd.free_address(address);
        }
        speechd.looked = speechd.connection == nullptr;
        speechd.looked_at = now;
    }
    // A text of priority "text" cuts short the one before it. A server that
    // went away is looked for again with the next text.
    if (speechd.connection != nullptr &&
        speechd.say(speechd.connection, SPD_TEXT, text.c_str()) < 0) {
        platform_voice_close();
    }
}

void platform_voice_close()
{
    if (speechd.connection != nullptr) {
        speechd.close(speechd.connection);
        speechd.connection = nullptr;
    }
}

}  // namespace hangman
