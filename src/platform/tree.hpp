// The accessibility tree: what a screen reader is shown of the window, as
// one snapshot of plain data that access/tree.cpp makes whenever it
// changes, and each platform serves through its own accessibility API
// (AT-SPI on Linux, UI Automation on Windows). The web page has none: its
// live region is told everything instead (the game's own voice there).
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace hangman {

// One thing a screen reader can reach in the window.
struct TreeNode {
    enum class Role { button, toggle, text };
    Role role = Role::text;
    std::string name;         // a button's name ("Start"), a text's whole text
    std::string description;  // what a button does ("4 letters"), or nothing
    bool checked = false;     // a toggle that is on
    SDL_Rect bounds{};        // in the window, in points (as the pointer counts)

    bool operator==(const TreeNode& other) const;
    bool operator!=(const TreeNode& other) const { return !(*this == other); }
};

// The window's contents as the player sees them now.
struct Tree {
    std::string screen;           // the screen's name: "Main menu", "Game"
    std::vector<TreeNode> nodes;  // in reading order
    int focused = -1;             // the node that has the keyboard's focus, or -1
    bool active = false;          // the window has the keyboard
    SDL_Rect window{};            // the window on the desktop, in points

    bool operator==(const Tree& other) const;
    bool operator!=(const Tree& other) const { return !(*this == other); }
};

// Offers the tree to the system's screen readers; false where the platform
// has no accessibility API the game can serve. On Linux the tree is served
// from a thread of its own, once the session's accessibility bus answers
// (it may come later, or never): nothing waits for it.
bool platform_tree_start(SDL_Window* window);

// The tree as it now stands; called when it has changed. Served from then
// on, with the events a screen reader follows (the focus moved, a screen
// came, a switch changed).
void platform_tree_show(const Tree& tree);

// Has screen readers say `text` at once, as a web page's live region would:
// a guess and what it did, the result.
void platform_tree_announce(const std::string& text);

// True while the tree is served where a screen reader can read it, or is on
// its way there (the accessibility bus has answered).
bool platform_tree_served();

// The type of the SDL event that a screen reader's press of a button
// brings (its code the node's index in the tree last shown); 0 before the
// tree is started, and where it has none.
Uint32 platform_tree_press_event();

// Withdraws the tree. Safe to repeat.
void platform_tree_stop();

}  // namespace hangman
