// What only Linux does (see platform.hpp). Speech goes through
// speech-dispatcher, whose library is loaded when the first text is spoken:
// where it is missing, the game starts and plays all the same, silently.
// Whether a screen reader runs, and whether the desktop wants less motion,
// are asked of the session's D-Bus, without starting any service to answer.
#include <dbus/dbus.h>
#include <speech-dispatcher/libspeechd.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/platform.hpp"

namespace {

// How long a running service may take to answer before the game goes on.
constexpr int answer_wait_ms = 500;

// The session's bus, or nullptr when the session names none; never a bus
// started for the asking.
DBusConnection* open_session_bus()
{
    std::string address;
    const char* given = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat socket_file {};
    if (given != nullptr && *given != '\0') {
        address = given;
    } else if (runtime != nullptr && *runtime != '\0' &&
               stat((std::string(runtime) + "/bus").c_str(), &socket_file) == 0 &&
               S_ISSOCK(socket_file.st_mode)) {
        address = "unix:path=" + std::string(runtime) + "/bus";
    } else {
        return nullptr;
    }
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_connection_open_private(address.c_str(), &error);
    if (bus != nullptr && !dbus_bus_register(bus, &error)) {
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
        bus = nullptr;
    }
    dbus_error_free(&error);
    return bus;
}

// The boolean a reply holds, inside however many variants; `otherwise` when
// it holds none.
bool boolean_in(DBusMessage* reply, bool otherwise)
{
    DBusMessageIter value;
    if (!dbus_message_iter_init(reply, &value)) {
        return otherwise;
    }
    while (dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_VARIANT) {
        DBusMessageIter inner;
        dbus_message_iter_recurse(&value, &inner);
        value = inner;
    }
    if (dbus_message_iter_get_arg_type(&value) != DBUS_TYPE_BOOLEAN) {
        return otherwise;
    }
    dbus_bool_t answer = FALSE;
    dbus_message_iter_get_basic(&value, &answer);
    return answer != FALSE;
}

// Asks a service on the session's bus a question of two strings whose answer
// is a boolean; `otherwise` when no such service runs or it answers anything else.
bool ask(const char* service, const char* path, const char* interface, const char* method,
         const char* first, const char* second, bool otherwise)
{
    DBusConnection* bus = open_session_bus();
    if (bus == nullptr) {
        return otherwise;
    }
    bool answer = otherwise;
    DBusMessage* call = dbus_message_new_method_call(service, path, interface, method);
    if (call != nullptr) {
        dbus_message_set_auto_start(call, FALSE);
        dbus_message_append_args(call, DBUS_TYPE_STRING, &first, DBUS_TYPE_STRING, &second,
                                 DBUS_TYPE_INVALID);
        DBusError error;
        dbus_error_init(&error);
        DBusMessage* reply =
            dbus_connection_send_with_reply_and_block(bus, call, answer_wait_ms, &error);
        if (reply != nullptr) {
            answer = boolean_in(reply, otherwise);
            dbus_message_unref(reply);
        }
        dbus_error_free(&error);
        dbus_message_unref(call);
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return answer;
}

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

bool platform_reduced_motion()
{
    // GNOME's switch for animations, which the settings portal hands out.
    return !ask("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                "org.freedesktop.portal.Settings", "Read", "org.gnome.desktop.interface",
                "enable-animations", true);
}

bool platform_screen_reader()
{
    return ask("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
               "org.a11y.Status", "ScreenReaderEnabled", false);
}

void platform_voice_say(const std::string& text)
{
    // No server: looked for again now and then (one may start later), not
    // at every text.
    // An address set but empty makes the library fall over; it names no server.
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
