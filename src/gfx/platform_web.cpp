// The web page's side of the platform (see platform.hpp). The page sizes the
// canvas and owns fullscreen. The browser owns the thread, and SDL's own wait
// there looks at its queue every millisecond. Instead the game sleeps
// (through Asyncify) until the page sees one of the events that SDL turns
// into its own (input, focus, a change of visibility or size); SDL's listener
// has queued its event by the time the game looks again. Nothing at all runs
// in between.
#include <emscripten.h>

#include "gfx/platform.hpp"

namespace {

// clang-format off
EM_ASYNC_JS(void, sleep_until_page_event, (), {
    await new Promise(function(wake_up) {
        var kinds = ["keydown", "keypress", "keyup", "mousedown", "mouseup", "mousemove", "wheel",
                     "mouseenter", "mouseleave", "touchstart", "touchmove", "touchend",
                     "touchcancel", "focus", "blur", "resize", "visibilitychange",
                     "fullscreenchange", "pointerlockchange", "beforeunload"];
        function wake() {
            kinds.forEach(function(kind) { window.removeEventListener(kind, wake, true); });
            // SDL's own listener for the same event runs before this timeout.
            setTimeout(wake_up, 0);
        }
        kinds.forEach(function(kind) { window.addEventListener(kind, wake, true); });
    });
});
// clang-format on

}  // namespace

namespace hangman {

void platform_prepare() {}

Uint32 platform_window_flags()
{
    return 0;
}

bool platform_toggle_fullscreen()
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

}  // namespace hangman
