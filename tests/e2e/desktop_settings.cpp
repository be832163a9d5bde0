// A stand-in for what a desktop session tells a program over its D-Bus: the
// accessibility bus's status (whether a screen reader runs) and the settings
// portal's GNOME switch for animations, answered as the game asks them.
// Serves on the bus that DBUS_SESSION_BUS_ADDRESS names until SIGTERM.
//
//   desktop_settings <screen reader: on|off> <animations: on|off>
#include <dbus/dbus.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t stopping = 0;

void stop(int)
{
    stopping = 1;
}

// Answers `call` with the boolean `value`, wrapped in `depth` variants.
void answer(DBusConnection* bus, DBusMessage* call, bool value, int depth)
{
    DBusMessage* reply = dbus_message_new_method_return(call);
    DBusMessageIter outer;
    dbus_message_iter_init_append(reply, &outer);
    DBusMessageIter levels[3];
    DBusMessageIter* current = &outer;
    for (int i = 0; i < depth; ++i) {
        dbus_message_iter_open_container(current, DBUS_TYPE_VARIANT, i + 1 < depth ? "v" : "b",
                                         &levels[i]);
        current = &levels[i];
    }
    dbus_bool_t answer_value = value ? TRUE : FALSE;
    dbus_message_iter_append_basic(current, DBUS_TYPE_BOOLEAN, &answer_value);
    for (int i = depth - 1; i >= 0; --i) {
        dbus_message_iter_close_container(i == 0 ? &outer : &levels[i - 1], &levels[i]);
    }
    dbus_connection_send(bus, reply, nullptr);
    dbus_message_unref(reply);
}

struct Settings {
    bool screen_reader;
    bool animations;
};

DBusHandlerResult handle(DBusConnection* bus, DBusMessage* message, void* data)
{
    const Settings& settings = *static_cast<const Settings*>(data);
    const char* first = nullptr;
    const char* second = nullptr;
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL ||
        !dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &first, DBUS_TYPE_STRING,
                               &second, DBUS_TYPE_INVALID)) {
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
    if (dbus_message_is_method_call(message, "org.freedesktop.DBus.Properties", "Get") &&
        std::strcmp(first, "org.a11y.Status") == 0 &&
        std::strcmp(second, "ScreenReaderEnabled") == 0) {
        answer(bus, message, settings.screen_reader, 1);
        return DBUS_HANDLER_RESULT_HANDLED;
    }
    // The portal's Read wraps the value in two variants.
    if (dbus_message_is_method_call(message, "org.freedesktop.portal.Settings", "Read") &&
        std::strcmp(first, "org.gnome.desktop.interface") == 0 &&
        std::strcmp(second, "enable-animations") == 0) {
        answer(bus, message, settings.animations, 2);
        return DBUS_HANDLER_RESULT_HANDLED;
    }
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: desktop_settings <screen reader: on|off> <animations: on|off>\n");
        return 2;
    }
    Settings settings{std::strcmp(argv[1], "on") == 0, std::strcmp(argv[2], "on") == 0};
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
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    std::printf("serving\n");
    std::fflush(stdout);
    while (stopping == 0 && dbus_connection_read_write_dispatch(bus, 100)) {
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return 0;
}
