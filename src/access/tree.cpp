// The window's accessibility tree (see tree.hpp). Each frame builds the tree
// it shows into `drawn`, reusing its storage; once the frame is presented,
// the platform is handed it if it differs from what it was shown last.
#include "access/tree.hpp"

#include <cstring>

#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/tree.hpp"

namespace hangman {

namespace {

bool started = false;
Tree drawn;                  // what the frame being drawn (or the last one) shows
unsigned long drawn_in = 0;  // the count of frames presented while it was drawn
Tree shown;                  // what the platform was shown last
bool ever_shown = false;

// The picture's rectangle `area` in the window's points, wherever the
// picture lies in a window of any size.
SDL_Rect in_window(const SDL_Rect& area)
{
    int points_w = 0;
    int points_h = 0;
    int pixels_w = 0;
    int pixels_h = 0;
    SDL_GetWindowSize(window, &points_w, &points_h);
    SDL_GetRendererOutputSize(renderer, &pixels_w, &pixels_h);
    if (points_w <= 0 || points_h <= 0 || pixels_w <= 0 || pixels_h <= 0) {
        return area;
    }
    const SDL_Rect view = picture_view(pixels_w, pixels_h);
    const auto x = [&](int at) {
        return static_cast<int>((view.x + static_cast<long long>(at) * view.w / window_width) *
                                points_w / pixels_w);
    };
    const auto y = [&](int at) {
        return static_cast<int>((view.y + static_cast<long long>(at) * view.h / window_height) *
                                points_h / pixels_h);
    };
    return {x(area.x), y(area.y), x(area.x + area.w) - x(area.x), y(area.y + area.h) - y(area.y)};
}

// What a game's texts are made from, to make them again only when it changed
// (a frame of the game allocates nothing otherwise).
struct GameSeen {
    const std::string* word = nullptr;
    int found = -1;
    int tries = -1;
    int guessed = -1;
    int staged = -1;
    int ended = -1;  // 0 playing, 1 won, 2 lost
    SDL_Rect window{};

    bool operator==(const GameSeen& other) const
    {
        return word == other.word && found == other.found && tries == other.tries &&
               guessed == other.guessed && staged == other.staged && ended == other.ended &&
               SDL_RectEquals(&window, &other.window);
    }
};
GameSeen game_seen;

// True, after noting it, when the game (or the window) differs from what the
// last frame showed.
bool game_changed(const GameView& view, int ended)
{
    int found = 0;
    for (unsigned char flag : view.revealed) {
        found += flag;
    }
    GameSeen now{&view.word, found, view.tries, view.guess_count, view.staged, ended, {}};
    SDL_GetWindowPosition(window, &now.window.x, &now.window.y);
    SDL_GetWindowSize(window, &now.window.w, &now.window.h);
    const bool changed = !(now == game_seen);
    game_seen = now;
    return changed;
}

// Starts the tree of a frame of the screen `screen`, with `count` nodes.
void begin(const char* screen, std::size_t count)
{
    drawn_in = frames_presented();
    drawn.screen = screen;
    drawn.nodes.resize(count);
    drawn.active = (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    SDL_GetWindowPosition(window, &drawn.window.x, &drawn.window.y);
    SDL_GetWindowSize(window, &drawn.window.w, &drawn.window.h);
}

void set_text(TreeNode& node, std::string text, const SDL_Rect& area)
{
    node.role = TreeNode::Role::text;
    node.name = std::move(text);
    node.description.clear();
    node.checked = false;
    node.bounds = in_window(area);
}

// The game's texts where the screen shows them.
constexpr SDL_Rect word_area = {0, 250, window_width, 90};
constexpr SDL_Rect found_area = {0, 340, window_width, 20};
constexpr SDL_Rect tries_area = {420, 30, 120, 30};
constexpr SDL_Rect guessed_area = {24, 30, 220, 90};
constexpr SDL_Rect staged_area = {280, 360, 220, 80};

}  // namespace

bool start_tree()
{
    started = platform_tree_start(window);
    ever_shown = false;
    return started;
}

void stop_tree()
{
    if (started) {
        platform_tree_stop();
        started = false;
    }
}

void tree_menu(const Focus& focus)
{
    if (!started) {
        return;
    }
    game_seen = GameSeen{};
    begin(focus.screen, focus.buttons.size());
    for (std::size_t i = 0; i < focus.buttons.size(); ++i) {
        const Button& button = *focus.buttons[i];
        const ButtonWords words = words_of(button);
        TreeNode& node = drawn.nodes[i];
        node.role = words.toggle ? TreeNode::Role::toggle : TreeNode::Role::button;
        node.name = words.name;
        node.description = words.description;
        node.checked = switched_on(button);
        node.bounds = in_window({button.x, button.y, button.width, button.height});
    }
    drawn.focused = focus.current < focus.buttons.size() ? static_cast<int>(focus.current) : -1;
}

void tree_game(const GameView& view)
{
    if (!started) {
        return;
    }
    const bool changed = game_changed(view, 0);
    begin("Game", 5);
    if (changed) {
        set_text(drawn.nodes[0], word_text(view), word_area);
        set_text(drawn.nodes[1], found_text(view), found_area);
        set_text(drawn.nodes[2], tries_text(view), tries_area);
        set_text(drawn.nodes[3], guessed_text(view), guessed_area);
        set_text(drawn.nodes[4], staged_text(view), staged_area);
    }
    drawn.focused = 0;
}

void tree_end(bool won, const GameView& view)
{
    if (!started) {
        return;
    }
    const bool changed = game_changed(view, won ? 1 : 2);
    begin(won ? "You won" : "You lost", 2);
    if (changed) {
        set_text(drawn.nodes[0], std::string(won ? "You won! " : "You lost. ") + word_text(view),
                 {0, 0, window_width, window_height / 2});
        set_text(drawn.nodes[1], "Press any key or button for the main menu",
                 {0, window_height / 2, window_width, window_height / 2});
    }
    drawn.focused = 0;
}

void tree_shown()
{
    if (!started || drawn_in >= frames_presented() || (ever_shown && drawn == shown)) {
        return;
    }
    shown = drawn;
    ever_shown = true;
    platform_tree_show(shown);
}

Button* tree_press(const Focus& focus, const SDL_Event& event)
{
    const Uint32 press = platform_tree_press_event();
    if (press == 0 || event.type != press || !ever_shown ||
        std::strcmp(shown.screen.c_str(), focus.screen) != 0 || event.user.code < 0 ||
        static_cast<std::size_t>(event.user.code) >= focus.buttons.size()) {
        return nullptr;
    }
    return focus.buttons[static_cast<std::size_t>(event.user.code)];
}

}  // namespace hangman
