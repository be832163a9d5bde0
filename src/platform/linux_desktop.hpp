// Between the Linux desktop's thread (linux_desktop.cpp), which keeps the
// game's D-Bus connections, and the accessible objects it serves on the
// accessibility bus (linux_atspi.cpp). Everything here runs on that thread.
#pragma once

#include <dbus/dbus.h>

#include <string>

#include "platform/tree.hpp"

namespace hangman::atspi {

// What the accessibility bus has been shown, and what the objects answer from.
struct Served {
    Tree tree;                 // as the game last showed it
    unsigned generation = 0;   // counts the screens shown: each has objects of its own
    std::string notice;        // the last announcement
    std::string desktop_bus;   // the desktop the application is embedded in,
    std::string desktop_path;  // from the registry's answer
    int id = 0;                // the number the registry gave the application
    Uint32 press_event = 0;    // the SDL event a screen reader's press brings
};

// The game's root object: the application.
constexpr const char* root_path = "/org/a11y/atspi/accessible/root";

// Answers a method call on one of the game's accessible objects; false when
// `call` is for none of them.
bool answer(DBusConnection* bus, DBusMessage* call, Served& served);

// Sends the events that tell screen readers how the tree changed from
// `before` (shown with the objects of `before_generation`) to
// `served.tree`: a screen come into view, the focus moved, a switch
// switched, a text changed, the window activated.
void tell_changes(DBusConnection* bus, const Tree& before, unsigned before_generation,
                  const Served& served);

// Has screen readers say `text` at once (`served.notice` holds it).
void announce(DBusConnection* bus, const Served& served);

}  // namespace hangman::atspi
