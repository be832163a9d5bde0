// A stand-in for what a desktop session tells a program over its D-Bus: the
// accessibility bus's status (whether a screen reader runs) and the settings
// portal's GNOME switch for animations, answered as the game asks them.
// With "held", the questions are kept unanswered until SIGUSR1 (a desktop
// whose services hang, then answer). SIGUSR2 switches both settings and
// says so, as the desktop's signals do. Serves on the bus that
// DBUS_SESSION_BUS_ADDRESS names until SIGTERM; says "asked" on standard
// output once both questions have come.
//
//   desktop_settings <screen reader: on|off> <animations: on|off> [held]
#include <dbus/dbus.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

volatile std::sig_atomic_t stopping = 0;
volatile std::sig_atomic_t release = 0;
volatile std::sig_atomic_t flip = 0;

struct Settings {
    bool screen_reader;
    bool animations;
    bool held;
    std::vector<DBusMessage*> waiting;  // questions kept while held
    int asked = 0;
};

// Appends the boolean `value`, wrapped in `depth` variants.
void append(DBusMessageIter* outer, bool value, int depth)
{
    DBusMessageIter levels[3];
    DBusMessageIter* current = outer;
    for (int i = 0; i < depth; ++i) {
        dbus_message_iter_open_container(current, DBUS_TYPE_VARIANT, i + 1 < depth ? "v" : "b",
                                         &levels[i]);
        current = &levels[i];
    }
    dbus_bool_t answer_value = value ? TRUE : FALSE;
    dbus_message_iter_append_basic(current, DBUS_TYPE_BOOLEAN, &answer_value);
    for (int i = depth - 1; i >= 0; --i) {
        dbus_message_iter_close_container(i == 0 ? outer : &levels[i - 1], &levels[i]);
    }
}

bool is_reader_question(DBusMessage* message)
{
    return dbus_message_is_method_call(message, "org.freedesktop.DBus.Properties", "Get");
}

// Answers a question as the settings now stand: the accessibility bus's
// property in one variant, the portal's Read in two.
void answer(DBusConnection* bus, DBusMessage* call, const Settings& settings)
{
    DBusMessage* reply = dbus_message_new_method_return(call);
    DBusMessageIter outer;
    dbus_message_iter_init_append(reply, &outer);
    const bool reader = is_reader_question(call);
    append(&outer, reader ? settings.screen_reader : settings.animations, reader ? 1 : 2);
    dbus_connection_send(bus, reply, nullptr);
    dbus_message_unref(reply);
}

// Says that the settings changed, as the portal and the accessibility bus do.
void announce_change(DBusConnection* bus, const Settings& settings)
{
    DBusMessage* changed = dbus_message_new_signal(
        "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged");
    const char* space = "org.gnome.desktop.interface";
    const char* key = "enable-animations";
    DBusMessageIter out;
    dbus_message_iter_init_append(changed, &out);
    dbus_message_iter_append_basic(&out, DBUS_TYPE_STRING, &space);
    dbus_message_iter_append_basic(&out, DBUS_TYPE_STRING, &key);
    append(&out, settings.animations, 1);
    dbus_connection_send(bus, changed, nullptr);
    dbus_message_unref(changed);

    changed = dbus_message_new_signal("/org/a11y/bus", "org.freedesktop.DBus.Properties",
                                      "PropertiesChanged");
    const char* iface = "org.a11y.Status";
    const char* name = "ScreenReaderEnabled";
    dbus_message_iter_init_append(changed, &out);
    dbus_message_iter_append_basic(&out, DBUS_TYPE_STRING, &iface);
    DBusMessageIter dict;
    DBusMessageIter entry;
    dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sv}", &dict);
    dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &name);
    append(&entry, settings.screen_reader, 1);
    dbus_message_iter_close_container(&dict, &entry);
    dbus_message_iter_close_container(&out, &dict);
    DBusMessageIter none;
    dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "s", &none);
    dbus_message_iter_close_container(&out, &none);
    dbus_connection_send(bus, changed, nullptr);
    dbus_message_unref(changed);
}

DBusHandlerResult handle(DBusConnection* bus, DBusMessage* message, void* data)
{
    Settings& settings = *static_cast<Settings*>(data);
    const char* first = nullptr;
    const char* second = nullptr;
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL ||
        !dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &first, DBUS_TYPE_STRING,
                               &second, DBUS_TYPE_INVALID)) {
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    const bool reader = is_reader_question(message) && std::strcmp(first, "org.a11y.Status") == 0 &&
                        std::strcmp(second, "ScreenReaderEnabled") == 0;
    const bool motion =
        dbus_message_is_method_call(message, "org.freedesktop.portal.Settings", "Read") &&
        std::strcmp(first, "org.gnome.desktop.interface") == 0 &&
        std::strcmp(second, "enable-animations") == 0;
    if (!reader && !motion) {
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    if (settings.held) {
        settings.waiting.push_back(dbus_message_ref(message));
    } else {
        answer(bus, message, settings);
    }
    if (++settings.asked == 2) {
        std::printf("asked\n");
        std::fflush(stdout);
    }
    return DBUS_HANDLER_RESULT_HANDLED;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr,
                     "usage: desktop_settings <screen reader: on|off> "
                     "<animations: on|off> [held]\n");
        return 2;
    }
    Settings settings{std::strcmp(argv[1], "on") == 0,
                      std::strcmp(argv[2], "on") == 0,
                      argc == 4 && std::strcmp(argv[3], "held") == 0,
                      {}};
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    if (bus == nullptr) {
        std::fprintf(stderr, "desktop_settings: %s\n", error.message);
        return 1;
    }
    for (const char* name : {"org.a11y.Bus", "org.freedesktop.portal.Desktop"}) {
        if (dbus_bus_request_name(bus, name, DBUS_NAME_FLAG_DO_NOT_QUEUE, &error) !=
            DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
            std::fprintf(stderr, "desktop_settings: cannot own %s\n", name);
            return 1;
        }
    }
    dbus_connection_add_filter(bus, handle, &settings, nullptr);
    std::signal(SIGTERM, [](int) { stopping = 1; });
    std::signal(SIGINT, [](int) { stopping = 1; });
    std::signal(SIGUSR1, [](int) { release = 1; });
    std::signal(SIGUSR2, [](int) { flip = 1; });
    std::printf("serving\n");
    std::fflush(stdout);
    while (stopping == 0 && dbus_connection_read_write_dispatch(bus, 100)) {
        if (release != 0) {
            release = 0;
            settings.held = false;
            for (DBusMessage* question : settings.waiting) {
                answer(bus, question, settings);
                dbus_message_unref(question);
            }
            settings.waiting.clear();
        }
        if (flip != 0) {
            flip = 0;
            settings.screen_reader = !settings.screen_reader;
            settings.animations = !settings.animations;
            announce_change(bus, settings);
        }
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return 0;
}
