// The web page's side of the platform (see platform.hpp). The page sizes the
// canvas and owns fullscreen. The browser owns the thread, and SDL's own wait
// there looks at its queue every millisecond. Instead the game sleeps
// (through Asyncify) until the page sees one of the events that SDL turns
// into its own (input, focus, a change of visibility or size); SDL's listener
// has queued its event by the time the game looks again. Nothing at all runs
// in between. The page's live region says what the game would speak, and it
// learns each screen and counts the frames (packaging/web/screen.js).
#include <emscripten.h>

#include "platform/platform.hpp"
#include "platform/tree.hpp"

namespace {

// clang-format off
EM_ASYNC_JS(void, sleep_until_page_event, (), {
    await new Promise(function(wake_up) {
        var kinds = ["keydown", "keypress", "keyup", "mousedown", "mouseup", "mousemove", "wheel",
                     "mouseenter", "mouseleave", "touchstart", "touchmove", "touchend",
                     "touchcancel", "focus", "blur", "resize", "visibilitychange",
                     "fullscreenchange", "pointerlockchange", "beforeunload",
                     "gamepadconnected", "gamepaddisconnected"];
        var woken = false;
        function wake() {
            if (woken) return;
            woken = true;
            kinds.forEach(function(kind) { window.removeEventListener(kind, wake, true); });
            // SDL's own listener for the same event runs before this timeout.
            setTimeout(wake_up, 0);
        }
        kinds.forEach(function(kind) { window.addEventListener(kind, wake, true); });
        // A gamepad's buttons send no events: while one is plugged in, SDL
        // looks at it once a frame.
        var pads = navigator["getGamepads"] ? navigator["getGamepads"]() : [];
        if (Array.prototype.some.call(pads, function(pad) { return pad; })) {
            requestAnimationFrame(wake);
        }
    });
});
// Gives the browser the thread until its pending tasks have run: a message
// to itself, which unlike a timer is not held back by a minimum delay.
EM_ASYNC_JS(void, give_browser_the_thread, (), {
    await new Promise(function(resume) {
        var channel = new MessageChannel();
        channel.port1.onmessage = function() { resume(); };
        channel.port2.postMessage(0);
    });
});

// The page's parts, by names quoted so that they stay as they are when the
// program's JavaScript is minified.
EM_JS(void, page_call, (const char* name, const char* text), {
    var page = window["page"];
    if (page && page[UTF8ToString(name)]) page[UTF8ToString(name)](UTF8ToString(text));
});
EM_JS(int, page_asks_for_less_motion, (), {
    return window["matchMedia"]("(prefers-reduced-motion: reduce)")["matches"] ? 1 : 0;
});
// clang-format on

// Where the page last said the keyboard went: -1 nowhere new since the game
// last asked, 0 on to the page, 1 to the game.
int keyboard_news = -1;

}  // namespace

// Called by the page when Tab brings the keyboard to the game (1) and when
// the keyboard goes on to the page (0).
extern "C" EMSCRIPTEN_KEEPALIVE void hangman_keyboard_focus(int on)
{
    keyboard_news = on != 0 ? 1 : 0;
}

namespace hangman {

void platform_prepare()
{
    // Keys reach the game only while the canvas has the focus: the page's
    // own buttons and links keep theirs.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
}

Uint32 platform_window_flags()
{
    return 0;
}

bool platform_toggle_fullscreen(SDL_Window*)
{
    return true;
}

bool platform_wait_event(SDL_Event& event)
{
    while (SDL_PollEvent(&event) == 0) {
        sleep_until_page_event();
    }
    return true;
}

int platform_end(int status)
{
    emscripten_force_exit(status);
    return status;
}

void platform_pause()
{
    // At every step: on a slow phone even a few milliseconds here are tens.
    give_browser_the_thread();
}

void platform_presented()
{
    page_call("presented", "");
}

void platform_window_created(SDL_Window*) {}

bool platform_keyboard_moved(bool& arrived)
{
    if (keyboard_news < 0) {
        return false;
    }
    arrived = keyboard_news == 1;
    keyboard_news = -1;
    return true;
}

bool platform_reduced_motion()
{
    return page_asks_for_less_motion() != 0;
}

bool platform_screen_reader()
{
    return true;  // the live region is heard only where one runs
}

void platform_voice_say(const std::string& text)
{
    page_call("say", text.c_str());
}

void platform_voice_close() {}

void platform_screen(const char* name)
{
    page_call("showScreen", name);
}

// The page's canvas is one element: its live region is told everything,
// through the game's own voice, instead of a tree.
bool platform_tree_start(SDL_Window*)
{
    return false;
}
void platform_tree_show(const Tree&) {}
void platform_tree_announce(const std::string&) {}
bool platform_tree_served()
{
    return false;
}
Uint32 platform_tree_press_event()
{
    return 0;
}
void platform_tree_stop() {}

}  // namespace hangman
