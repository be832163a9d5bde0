// The web page's side of the platform (see platform.hpp). The page sizes the
// canvas and owns fullscreen. The browser owns the thread, and SDL's own wait
// there looks at its queue every millisecond. Instead the game sleeps
// (through Asyncify) until the page sees one of the events that SDL turns
// into its own (input, focus, a change of visibility or size); SDL's listener
// has queued its event by the time the game looks again. Nothing at all runs
// in between. After each presented frame that shows something new, the page
// is told what it shows (page.showView in packaging/web/screen.js).
#include <emscripten.h>

#include <cctype>

#include "gfx/media.hpp"
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
// Gives the browser the thread until its pending tasks have run: a message
// to itself, which unlike a timer is not held back by a minimum delay.
EM_ASYNC_JS(void, give_browser_the_thread, (), {
    await new Promise(function(resume) {
        var channel = new MessageChannel();
        channel.port1.onmessage = function() { resume(); };
        channel.port2.postMessage(0);
    });
});

// Hands the page the frame's view: the screen's name, its buttons (names one
// a line, and x, y, width, height each) and the game's progress.
EM_JS(void, show_view, (const char* screen, const char* names, const int* areas, int count,
                        const char* word, int tries, const char* guessed), {
    // Names quoted: they are the page's, and stay as they are when the
    // program's JavaScript is minified.
    var page = window["page"];
    if (!page || !page["showView"]) return;
    var buttons = count === 0 ? [] : UTF8ToString(names).split("\n").map(function(name, i) {
        var area = HEAP32.subarray((areas >> 2) + 4 * i, (areas >> 2) + 4 * i + 4);
        return { "name": name, "x": area[0], "y": area[1], "w": area[2], "h": area[3] };
    });
    page["showView"]({ "screen": UTF8ToString(screen), "buttons": buttons, "word": UTF8ToString(word),
                       "tries": tries, "guessed": UTF8ToString(guessed) });
});
// clang-format on

struct View {
    const hangman::Texture* picture = nullptr;  // the last whole-window picture
    std::vector<const hangman::Button*> buttons;
    std::string word;  // upper case, '_' for a letter not found yet
    int tries = 0;
    std::string guessed;
    bool operator==(const View& other) const
    {
        return picture == other.picture && buttons == other.buttons && word == other.word &&
               tries == other.tries && guessed == other.guessed;
    }
};
View drawing;
View shown;
bool told = false;
bool dev_mode_told = false;

const char* screen_name(const hangman::Texture* picture)
{
    using namespace hangman;
    const struct {
        const Texture* picture;
        const char* name;
    } screens[] = {
        {&menu_screen_texture, "Main menu"},  {&difficulty_screen_texture, "Choose a level"},
        {&options_screen_texture, "Options"}, {&game_screen_texture, "Game"},
        {&win_screen_texture, "You won"},     {&lose_screen_texture, "You lost"},
    };
    for (const auto& screen : screens) {
        if (screen.picture == picture) {
            return screen.name;
        }
    }
    return "";
}

const char* button_name(const hangman::Button* button)
{
    using namespace hangman;
    if (button == &dev_mode_button) {
        return dev_mode ? "Developer mode: on" : "Developer mode: off";
    }
    const struct {
        const Button* button;
        const char* name;
    } buttons[] = {
        {&start_button, "Start"}, {&options_button, "Options"}, {&easy_button, "Easy"},
        {&med_button, "Medium"},  {&hard_button, "Hard"},       {&back_button, "Back"},
    };
    for (const auto& entry : buttons) {
        if (entry.button == button) {
            return entry.name;
        }
    }
    return "";
}

void tell_page()
{
    std::string names;
    std::vector<int> areas;
    for (const hangman::Button* button : shown.buttons) {
        names += (names.empty() ? "" : "\n") + std::string(button_name(button));
        areas.insert(areas.end(), {button->x, button->y, button->width, button->height});
    }
    show_view(screen_name(shown.picture), names.c_str(), areas.data(),
              static_cast<int>(shown.buttons.size()), shown.word.c_str(), shown.tries,
              shown.guessed.c_str());
}

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

void platform_drew(const Texture& texture, const SDL_Rect* clip)
{
    if (clip == nullptr && texture.width == window_width && texture.height == window_height) {
        drawing.picture = &texture;
    }
}

void platform_drew_button(const Button& button)
{
    drawing.buttons.push_back(&button);
}

void platform_drew_game(const std::string& word, const std::vector<unsigned char>& revealed,
                        int tries, const int* guessed, int guess_count)
{
    drawing.word.clear();
    for (size_t i = 0; i < word.size(); ++i) {
        const bool found = i < revealed.size() && revealed[i] != 0;
        drawing.word +=
            found ? static_cast<char>(std::toupper(static_cast<unsigned char>(word[i]))) : '_';
    }
    drawing.tries = tries;
    drawing.guessed.clear();
    for (int i = 0; i < guess_count; ++i) {
        drawing.guessed += static_cast<char>('A' + guessed[i] - 1);
    }
}

void platform_presented()
{
    // The switch's name says whether developer mode is on.
    if (!told || !(drawing == shown) || dev_mode != dev_mode_told) {
        shown = drawing;
        dev_mode_told = dev_mode;
        told = true;
        tell_page();
    }
    drawing.picture = nullptr;
    drawing.buttons.clear();
    drawing.word.clear();
    drawing.guessed.clear();
    drawing.tries = 0;
}

}  // namespace hangman
