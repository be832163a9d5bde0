// What the Linux desktop tells the game, and the accessibility tree it
// serves, all on one thread of their own, so that no frame ever waits for a
// D-Bus service (one that is slow, hung or stopped only leaves the game as
// it is without it). On the session's bus: whether the desktop asks for less
// motion (the settings portal) and whether a screen reader runs (the
// accessibility bus's ScreenReaderEnabled), each asked once and then
// followed; nothing is started to answer. On the accessibility bus, once it
// is there: the game's objects (linux_atspi.cpp), embedded in the desktop
// as an application, and which events assistive technologies listen for,
// since a screen reader started by hand sets no flag.
#include <dbus/dbus.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/linux_desktop.hpp"
#include "platform/platform.hpp"

namespace hangman {

namespace {

constexpr const char* a11y_bus_name = "org.a11y.Bus";
constexpr const char* portal_name = "org.freedesktop.portal.Desktop";
constexpr const char* registry_name = "org.a11y.atspi.Registry";
constexpr const char* registry_iface = "org.a11y.atspi.Registry";

// How long shutdown waits for the desktop's thread to let its buses go; one
// stuck in a bus that never answers is left behind, and ends with the program.
constexpr Uint32 farewell_ms = 1000;

// What the game's thread and the desktop's thread share. It lives on the
// heap and is never freed: a thread left stuck at shutdown keeps it.
struct Shared {
    SDL_mutex* lock = SDL_CreateMutex();
    SDL_cond* done = SDL_CreateCond();
    int wake[2] = {-1, -1};  // a byte written wakes the desktop's thread
    bool stopping = false;   // under lock, as are the next four
    bool finished = false;   // the thread has let its buses go
    bool tree_changed = false;
    Tree tree;
    std::vector<std::string> notices;
    std::atomic<int> less_motion{-1};  // the desktop's answer, -1 before any
    std::atomic<bool> reader_enabled{false};
    std::atomic<bool> reader_listening{false};
    // The accessibility bus answered and the tree is on its way there, or
    // served: a screen reader can read the game, now or in a moment.
    std::atomic<bool> served{false};
};
Shared& shared = *new Shared;
SDL_Thread* thread = nullptr;
Uint32 press_event = 0;

// The desktop's thread's own state.
struct Buses {
    DBusConnection* session = nullptr;
    DBusConnection* a11y = nullptr;
    dbus_uint32_t asked_motion = 0;
    dbus_uint32_t asked_reader = 0;
    dbus_uint32_t asked_address = 0;
    dbus_uint32_t asked_embed = 0;
    dbus_uint32_t asked_listeners = 0;
    atspi::Served served;
    bool shown_once = false;
    std::vector<std::string> listeners;  // (bus name, event), two entries each
};

// A private connection to the bus at `address`, registered; nullptr when
// there is none.
DBusConnection* open_bus(const char* address)
{
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_connection_open_private(address, &error);
    if (bus != nullptr && !dbus_bus_register(bus, &error)) {
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
        bus = nullptr;
    }
    dbus_error_free(&error);
    if (bus != nullptr) {
        dbus_connection_set_exit_on_disconnect(bus, FALSE);
    }
    return bus;
}

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
    return open_bus(address.c_str());
}

// Sends a method call whose answer comes later, to the filter; its serial,
// or 0 when it could not be sent. No service is started to answer it.
dbus_uint32_t ask(DBusConnection* bus, const char* service, const char* path, const char* iface,
                  const char* method, const char* first = nullptr, const char* second = nullptr)
{
    DBusMessage* call = dbus_message_new_method_call(service, path, iface, method);
    if (call == nullptr) {
        return 0;
    }
    dbus_message_set_auto_start(call, FALSE);
    if (first != nullptr) {
        dbus_message_append_args(call, DBUS_TYPE_STRING, &first, DBUS_TYPE_STRING, &second,
                                 DBUS_TYPE_INVALID);
    }
    dbus_uint32_t serial = 0;
    dbus_connection_send(bus, call, &serial);
    dbus_message_unref(call);
    return serial;
}

// The boolean a message holds, inside however many variants, from `value`
// on; `otherwise` when it holds none.
bool boolean_in(DBusMessageIter value, bool otherwise)
{
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

bool first_boolean(DBusMessage* message, bool otherwise)
{
    DBusMessageIter value;
    return dbus_message_iter_init(message, &value) ? boolean_in(value, otherwise) : otherwise;
}

// Whether the assistive technologies listening make a screen reader: one
// that follows the focus (as every screen reader does, whoever started it).
void count_listeners(const Buses& buses)
{
    bool reader = false;
    for (size_t i = 1; i < buses.listeners.size(); i += 2) {
        const std::string& event = buses.listeners[i];
        for (const char* follows_focus : {"object:state-changed:focused", "object:state-changed:",
                                          "object:state-changed", "object:", "focus:", ""}) {
            reader = reader || event == follows_focus;
        }
    }
    shared.reader_listening = reader;
}

void watch_listeners(Buses& buses, DBusMessage* message, bool registered)
{
    const char* bus = nullptr;
    const char* event = nullptr;
    if (!dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &bus, DBUS_TYPE_STRING, &event,
                               DBUS_TYPE_INVALID)) {
        DBusMessageIter in;  // a registration may carry more after the two strings
        if (!dbus_message_iter_init(message, &in) ||
            dbus_message_iter_get_arg_type(&in) != DBUS_TYPE_STRING) {
            return;
        }
        dbus_message_iter_get_basic(&in, &bus);
        if (!dbus_message_iter_next(&in) ||
            dbus_message_iter_get_arg_type(&in) != DBUS_TYPE_STRING) {
            return;
        }
        dbus_message_iter_get_basic(&in, &event);
    }
    if (registered) {
        buses.listeners.emplace_back(bus);
        buses.listeners.emplace_back(event);
    } else {
        for (size_t i = 0; i + 1 < buses.listeners.size(); i += 2) {
            if (buses.listeners[i] == bus && buses.listeners[i + 1] == event) {
                buses.listeners.erase(buses.listeners.begin() + static_cast<long>(i),
                                      buses.listeners.begin() + static_cast<long>(i) + 2);
                break;
            }
        }
    }
    count_listeners(buses);
}

void read_listeners(Buses& buses, DBusMessage* reply)
{
    DBusMessageIter in;
    DBusMessageIter list;
    buses.listeners.clear();
    if (dbus_message_iter_init(reply, &in) &&
        dbus_message_iter_get_arg_type(&in) == DBUS_TYPE_ARRAY) {
        for (dbus_message_iter_recurse(&in, &list);
             dbus_message_iter_get_arg_type(&list) == DBUS_TYPE_STRUCT;
             dbus_message_iter_next(&list)) {
            DBusMessageIter pair;
            dbus_message_iter_recurse(&list, &pair);
            const char* text = nullptr;
            for (int i = 0; i < 2 && dbus_message_iter_get_arg_type(&pair) == DBUS_TYPE_STRING;
                 ++i, dbus_message_iter_next(&pair)) {
                dbus_message_iter_get_basic(&pair, &text);
                buses.listeners.emplace_back(text);
            }
            if (buses.listeners.size() % 2 != 0) {
                buses.listeners.pop_back();
            }
        }
    }
    count_listeners(buses);
}

DBusHandlerResult on_a11y_message(DBusConnection* bus, DBusMessage* message, void* data)
{
    Buses& buses = *static_cast<Buses*>(data);
    const int type = dbus_message_get_type(message);
    const dbus_uint32_t serial = dbus_message_get_reply_serial(message);
    if (type == DBUS_MESSAGE_TYPE_METHOD_CALL) {
        return atspi::answer(bus, message, buses.served) ? DBUS_HANDLER_RESULT_HANDLED
                                                         : DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    if (type == DBUS_MESSAGE_TYPE_ERROR && serial == buses.asked_embed) {
        shared.served = false;  // no desktop took the application in
    } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN && serial == buses.asked_embed) {
        DBusMessageIter in;
        DBusMessageIter ref;
        if (dbus_message_iter_init(message, &in) &&
            dbus_message_iter_get_arg_type(&in) == DBUS_TYPE_STRUCT) {
            dbus_message_iter_recurse(&in, &ref);
            const char* text = nullptr;
            dbus_message_iter_get_basic(&ref, &text);
            buses.served.desktop_bus = text;
            dbus_message_iter_next(&ref);
            dbus_message_iter_get_basic(&ref, &text);
            buses.served.desktop_path = text;
        }
    } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN && serial == buses.asked_listeners) {
        read_listeners(buses, message);
    } else if (dbus_message_is_signal(message, registry_iface, "EventListenerRegistered")) {
        watch_listeners(buses, message, true);
    } else if (dbus_message_is_signal(message, registry_iface, "EventListenerDeregistered")) {
        watch_listeners(buses, message, false);
    }
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
}

// Connects to the accessibility bus at `address`, embeds the application in
// its desktop and asks who listens for which events.
void join_a11y_bus(Buses& buses, const char* address)
{
    buses.a11y = open_bus(address);
    if (buses.a11y == nullptr) {
        return;
    }
    dbus_connection_add_filter(buses.a11y, on_a11y_message, &buses, nullptr);
    dbus_bus_add_match(buses.a11y, "type='signal',interface='org.a11y.atspi.Registry'", nullptr);
    DBusMessage* embed = dbus_message_new_method_call(registry_name, atspi::root_path,
                                                      "org.a11y.atspi.Socket", "Embed");
    const char* name = dbus_bus_get_unique_name(buses.a11y);
    DBusMessageIter out;
    DBusMessageIter ref;
    dbus_message_iter_init_append(embed, &out);
    dbus_message_iter_open_container(&out, DBUS_TYPE_STRUCT, nullptr, &ref);
    dbus_message_iter_append_basic(&ref, DBUS_TYPE_STRING, &name);
    dbus_message_iter_append_basic(&ref, DBUS_TYPE_OBJECT_PATH, &atspi::root_path);
    dbus_message_iter_close_container(&out, &ref);
    dbus_connection_send(buses.a11y, embed, &buses.asked_embed);
    dbus_message_unref(embed);
    buses.asked_listeners = ask(buses.a11y, registry_name, "/org/a11y/atspi/registry",
                                registry_iface, "GetRegisteredEvents");
}

void leave_a11y_bus(Buses& buses)
{
    if (buses.a11y != nullptr) {
        dbus_connection_close(buses.a11y);
        dbus_connection_unref(buses.a11y);
        buses.a11y = nullptr;
    }
    shared.served = false;
    shared.reader_listening = false;
    buses.listeners.clear();
    buses.shown_once = false;
}

// The accessibility bus's own service is there: where is its bus, and is a
// screen reader said to run?
void ask_a11y(Buses& buses)
{
    buses.asked_address =
        ask(buses.session, a11y_bus_name, "/org/a11y/bus", a11y_bus_name, "GetAddress");
    buses.asked_reader =
        ask(buses.session, a11y_bus_name, "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
            "org.a11y.Status", "ScreenReaderEnabled");
}

// A change of the accessibility bus's status: a screen reader came or went.
void read_status_change(DBusMessage* message)
{
    DBusMessageIter in;
    const char* iface = nullptr;
    if (!dbus_message_iter_init(message, &in) ||
        dbus_message_iter_get_arg_type(&in) != DBUS_TYPE_STRING) {
        return;
    }
    dbus_message_iter_get_basic(&in, &iface);
    if (std::strcmp(iface, "org.a11y.Status") != 0 || !dbus_message_iter_next(&in) ||
        dbus_message_iter_get_arg_type(&in) != DBUS_TYPE_ARRAY) {
        return;
    }
    DBusMessageIter entries;
    for (dbus_message_iter_recurse(&in, &entries);
         dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entries)) {
        DBusMessageIter entry;
        const char* key = nullptr;
        dbus_message_iter_recurse(&entries, &entry);
        dbus_message_iter_get_basic(&entry, &key);
        dbus_message_iter_next(&entry);
        if (std::strcmp(key, "ScreenReaderEnabled") == 0) {
            shared.reader_enabled = boolean_in(entry, false);
        }
    }
}

// A change of a desktop setting; the one that counts is GNOME's switch for
// animations.
void read_setting_change(DBusMessage* message)
{
    DBusMessageIter in;
    const char* space = nullptr;
    const char* key = nullptr;
    if (!dbus_message_iter_init(message, &in) ||
        dbus_message_iter_get_arg_type(&in) != DBUS_TYPE_STRING) {
        return;
    }
    dbus_message_iter_get_basic(&in, &space);
    if (!dbus_message_iter_next(&in) || dbus_message_iter_get_arg_type(&in) != DBUS_TYPE_STRING) {
        return;
    }
    dbus_message_iter_get_basic(&in, &key);
    if (std::strcmp(space, "org.gnome.desktop.interface") == 0 &&
        std::strcmp(key, "enable-animations") == 0 && dbus_message_iter_next(&in)) {
        shared.less_motion = boolean_in(in, true) ? 0 : 1;
    }
}

DBusHandlerResult on_session_message(DBusConnection*, DBusMessage* message, void* data)
{
    Buses& buses = *static_cast<Buses*>(data);
    const int type = dbus_message_get_type(message);
    const dbus_uint32_t serial = dbus_message_get_reply_serial(message);
    if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN && serial == buses.asked_motion) {
        shared.less_motion = first_boolean(message, true) ? 0 : 1;
    } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN && serial == buses.asked_reader) {
        shared.reader_enabled = first_boolean(message, false);
    } else if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN && serial == buses.asked_address) {
        const char* address = nullptr;
        if (buses.a11y == nullptr && dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING,
                                                           &address, DBUS_TYPE_INVALID)) {
            join_a11y_bus(buses, address);
            shared.served = buses.a11y != nullptr;
        }
    } else if (dbus_message_is_signal(message, "org.freedesktop.portal.Settings",

                                      "SettingChanged")) {
        read_setting_change(message);
    } else if (dbus_message_is_signal(message, "org.freedesktop.DBus.Properties",
                                      "PropertiesChanged")) {
        read_status_change(message);
    } else if (dbus_message_is_signal(message, DBUS_INTERFACE_DBUS, "NameOwnerChanged")) {
        const char* name = nullptr;
        const char* before = nullptr;
        const char* after = nullptr;
        if (dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING,
                                  &before, DBUS_TYPE_STRING, &after, DBUS_TYPE_INVALID) &&
            std::strcmp(name, a11y_bus_name) == 0) {
            leave_a11y_bus(buses);
            shared.reader_enabled = false;
            if (*after != '\0') {
                ask_a11y(buses);
            }
        }
    }
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
}

// Opens the session's bus, follows what the game asks of it, and asks.
void join_session(Buses& buses)
{
    buses.session = open_session_bus();
    if (buses.session == nullptr) {
        return;
    }
    dbus_connection_add_filter(buses.session, on_session_message, &buses, nullptr);
    for (const char* rule :
         {"type='signal',interface='org.freedesktop.portal.Settings',member='SettingChanged',"
          "path='/org/freedesktop/portal/desktop'",
          "type='signal',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged',"
          "path='/org/a11y/bus'",
          "type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged',"
          "arg0='org.a11y.Bus'"}) {
        dbus_bus_add_match(buses.session, rule, nullptr);
    }
    buses.asked_motion = ask(buses.session, portal_name, "/org/freedesktop/portal/desktop",
                             "org.freedesktop.portal.Settings", "Read",
                             "org.gnome.desktop.interface", "enable-animations");
    ask_a11y(buses);
}

// Reads and answers whatever a bus has sent; false once it is gone.
bool serve(DBusConnection* bus)
{
    if (!dbus_connection_read_write(bus, 0)) {
        return false;
    }
    while (dbus_connection_dispatch(bus) == DBUS_DISPATCH_DATA_REMAINS) {
    }
    return dbus_connection_get_is_connected(bus);
}

// Tells the accessibility bus what the game has shown since last time.
void show_news(Buses& buses, bool tree_changed, const Tree& tree,
               const std::vector<std::string>& notices)
{
    if (tree_changed) {
        const Tree before = buses.served.tree;
        const unsigned before_generation = buses.served.generation;
        const bool new_screen = !buses.shown_once || before.screen != tree.screen ||
                                before.nodes.size() != tree.nodes.size();
        buses.served.tree = tree;
        buses.served.generation += new_screen ? 1 : 0;
        if (buses.a11y != nullptr && buses.shown_once) {
            atspi::tell_changes(buses.a11y, before, before_generation, buses.served);
        }
        buses.shown_once = true;
    }
    for (const std::string& notice : notices) {
        buses.served.notice = notice;
        if (buses.a11y != nullptr) {
            atspi::announce(buses.a11y, buses.served);
        }
    }
}

int run_desktop(void*)
{
    Buses buses;
    buses.served.press_event = press_event;
    join_session(buses);
    for (;;) {
        pollfd watched[3] = {{shared.wake[0], POLLIN, 0}, {-1, POLLIN, 0}, {-1, POLLIN, 0}};
        int fd = -1;
        if (buses.session != nullptr && dbus_connection_get_unix_fd(buses.session, &fd)) {
            watched[1].fd = fd;
        }
        if (buses.a11y != nullptr && dbus_connection_get_unix_fd(buses.a11y, &fd)) {
            watched[2].fd = fd;
        }
        if (buses.session != nullptr && !serve(buses.session)) {
            leave_a11y_bus(buses);
            dbus_connection_unref(buses.session);
            buses.session = nullptr;
        }
        if (buses.a11y != nullptr && !serve(buses.a11y)) {
            leave_a11y_bus(buses);
        }
        SDL_LockMutex(shared.lock);
        const bool stopping = shared.stopping;
        const bool tree_changed = shared.tree_changed;
        const Tree tree = tree_changed ? shared.tree : Tree{};
        std::vector<std::string> notices;
        notices.swap(shared.notices);
        shared.tree_changed = false;
        SDL_UnlockMutex(shared.lock);
        if (stopping) {
            break;
        }
        show_news(buses, tree_changed, tree, notices);
        for (DBusConnection* bus : {buses.session, buses.a11y}) {
            if (bus != nullptr) {
                dbus_connection_flush(bus);
            }
        }
        if (poll(watched, 3, -1) > 0 && (watched[0].revents & POLLIN) != 0) {
            char bytes[64];
            (void)!read(shared.wake[0], bytes, sizeof bytes);
        }
    }
    leave_a11y_bus(buses);
    if (buses.session != nullptr) {
        dbus_connection_close(buses.session);
        dbus_connection_unref(buses.session);
    }
    SDL_LockMutex(shared.lock);
    shared.finished = true;
    SDL_CondSignal(shared.done);
    SDL_UnlockMutex(shared.lock);
    return 0;
}

void wake_desktop()
{
    const char byte = 0;
    (void)!write(shared.wake[1], &byte, 1);
}

// Starts the desktop's thread once; false where it cannot run.
bool start_desktop()
{
    if (thread != nullptr) {
        return true;
    }
    if (shared.lock == nullptr || shared.done == nullptr ||
        (shared.wake[0] < 0 && pipe(shared.wake) != 0)) {
        return false;
    }
    shared.stopping = false;
    shared.finished = false;
    if (press_event == 0) {
        press_event = SDL_RegisterEvents(1);
        press_event = press_event == static_cast<Uint32>(-1) ? 0 : press_event;
    }
    thread = SDL_CreateThread(run_desktop, "desktop", nullptr);
    return thread != nullptr;
}

}  // namespace

bool platform_tree_start(SDL_Window*)
{
    return start_desktop();
}

void platform_tree_show(const Tree& tree)
{
    SDL_LockMutex(shared.lock);
    shared.tree = tree;
    shared.tree_changed = true;
    SDL_UnlockMutex(shared.lock);
    wake_desktop();
}

void platform_tree_announce(const std::string& text)
{
    SDL_LockMutex(shared.lock);
    shared.notices.push_back(text);
    SDL_UnlockMutex(shared.lock);
    wake_desktop();
}

bool platform_tree_served()
{
    return shared.served;
}

Uint32 platform_tree_press_event()
{
    return thread != nullptr ? press_event : 0;
}

void platform_tree_stop()
{
    if (thread == nullptr) {
        return;
    }
    SDL_LockMutex(shared.lock);
    shared.stopping = true;
    wake_desktop();
    const Uint32 asked = SDL_GetTicks();
    while (!shared.finished && SDL_GetTicks() - asked < farewell_ms) {
        SDL_CondWaitTimeout(shared.done, shared.lock, farewell_ms);
    }
    const bool stuck = !shared.finished;
    SDL_UnlockMutex(shared.lock);
    if (stuck) {
        SDL_DetachThread(thread);  // it ends with the program
    } else {
        SDL_WaitThread(thread, nullptr);
    }
    thread = nullptr;
    shared.served = false;
    shared.reader_listening = false;
    shared.reader_enabled = false;
    shared.less_motion = -1;
}

bool platform_reduced_motion()
{
    return shared.less_motion == 1;
}

bool platform_screen_reader()
{
    return shared.reader_enabled || shared.reader_listening;
}

}  // namespace hangman
