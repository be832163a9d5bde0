// The game's accessible objects on the accessibility bus, as AT-SPI defines
// them (see linux_desktop.hpp): the application, its window as a frame, the
// screen in view as a panel, and in it a push button or toggle button for
// each button, or a label for each of the game's texts; beside the panel, a
// notification that carries announcements. Each screen's objects have paths
// of their own (s<screen>_<node>), so that nothing a screen reader has kept
// of one screen is mistaken for another's.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/linux_desktop.hpp"

namespace hangman::atspi {

namespace {

constexpr const char* prefix = "/org/a11y/atspi/accessible/";
constexpr const char* accessible_iface = "org.a11y.atspi.Accessible";
constexpr const char* application_iface = "org.a11y.atspi.Application";
constexpr const char* component_iface = "org.a11y.atspi.Component";
constexpr const char* action_iface = "org.a11y.atspi.Action";
constexpr const char* text_iface = "org.a11y.atspi.Text";
constexpr const char* properties_iface = "org.freedesktop.DBus.Properties";
constexpr const char* object_events = "org.a11y.atspi.Event.Object";
constexpr const char* window_events = "org.a11y.atspi.Event.Window";

// AT-SPI's numbers for roles, states, coordinates and layers.
enum Role : dbus_uint32_t {
    role_invalid = 0,
    role_frame = 23,
    role_label = 29,
    role_panel = 39,
    role_push_button = 43,
    role_toggle_button = 62,
    role_application = 75,
    role_notification = 101,
};
enum State {
    state_active = 1,
    state_checked = 4,
    state_defunct = 6,
    state_enabled = 8,
    state_focusable = 11,
    state_focused = 12,
    state_resizable = 21,
    state_sensitive = 24,
    state_showing = 25,
    state_visible = 30,
    state_checkable = 41,
    state_read_only = 43,
};
constexpr dbus_uint32_t coords_screen = 0;
constexpr dbus_uint32_t layer_widget = 3;
constexpr dbus_uint32_t layer_window = 7;

// One of the game's objects, from its path.
struct Object {
    enum Kind { app, frame, screen, node, notice, gone } kind = gone;
    int index = -1;  // a node's, in the tree
};

Object object_at(const char* path, const Served& served)
{
    if (std::strcmp(path, root_path) == 0) {
        return {Object::app};
    }
    if (std::strncmp(path, prefix, std::strlen(prefix)) != 0) {
        return {Object::gone};
    }
    const char* name = path + std::strlen(prefix);
    if (std::strcmp(name, "frame") == 0) {
        return {Object::frame};
    }
    if (std::strcmp(name, "notice") == 0) {
        return {Object::notice};
    }
    char* end = nullptr;
    if (name[0] != 's' || std::strtoul(name + 1, &end, 10) != served.generation) {
        return {Object::gone};
    }
    if (*end == '\0') {
        return {Object::screen};
    }
    const long index = *end == '_' ? std::strtol(end + 1, nullptr, 10) : -1;
    if (index < 0 || index >= static_cast<long>(served.tree.nodes.size())) {
        return {Object::gone};
    }
    return {Object::node, static_cast<int>(index)};
}

std::string path_of(Object object, const Served& served)
{
    switch (object.kind) {
        case Object::app:
            return root_path;
        case Object::frame:
            return std::string(prefix) + "frame";
        case Object::notice:
            return std::string(prefix) + "notice";
        case Object::screen:
            return std::string(prefix) + "s" + std::to_string(served.generation);
        case Object::node:
            return std::string(prefix) + "s" + std::to_string(served.generation) + "_" +
                   std::to_string(object.index);
        case Object::gone:
            break;
    }
    return "/org/a11y/atspi/null";
}

const TreeNode* node_of(Object object, const Served& served)
{
    return object.kind == Object::node ? &served.tree.nodes[static_cast<size_t>(object.index)]
                                       : nullptr;
}

Role role_of(Object object, const Served& served)
{
    switch (object.kind) {
        case Object::app:
            return role_application;
        case Object::frame:
            return role_frame;
        case Object::screen:
            return role_panel;
        case Object::notice:
            return role_notification;
        case Object::node:
            switch (node_of(object, served)->role) {
                case TreeNode::Role::button:
                    return role_push_button;
                case TreeNode::Role::toggle:
                    return role_toggle_button;
                case TreeNode::Role::text:
                    return role_label;
            }
            break;
        case Object::gone:
            break;
    }
    return role_invalid;
}

const char* role_name(Role role)
{
    switch (role) {
        case role_application:
            return "application";
        case role_frame:
            return "frame";
        case role_panel:
            return "panel";
        case role_notification:
            return "notification";
        case role_push_button:
            return "push button";
        case role_toggle_button:
            return "toggle button";
        case role_label:
            return "label";
        case role_invalid:
            break;
    }
    return "invalid";
}

std::string name_of(Object object, const Served& served)
{
    switch (object.kind) {
        case Object::app:
        case Object::frame:
            return "Hangman";
        case Object::screen:
            return served.tree.screen;
        case Object::notice:
            return served.notice;
        case Object::node:
            return node_of(object, served)->name;
        case Object::gone:
            break;
    }
    return "";
}

bool has_text(Object object, const Served& served)
{
    return object.kind == Object::notice ||
           (object.kind == Object::node && node_of(object, served)->role == TreeNode::Role::text);
}

bool has_action(Object object, const Served& served)
{
    return object.kind == Object::node && node_of(object, served)->role != TreeNode::Role::text;
}

std::vector<Object> children_of(Object object, const Served& served)
{
    switch (object.kind) {
        case Object::app:
            return {{Object::frame}};
        case Object::frame:
            return {{Object::screen}, {Object::notice}};
        case Object::screen: {
            std::vector<Object> nodes;
            for (size_t i = 0; i < served.tree.nodes.size(); ++i) {
                nodes.push_back({Object::node, static_cast<int>(i)});
            }
            return nodes;
        }
        default:
            return {};
    }
}

Object parent_of(Object object)
{
    switch (object.kind) {
        case Object::frame:
            return {Object::app};
        case Object::screen:
        case Object::notice:
            return {Object::frame};
        case Object::node:
            return {Object::screen};
        default:
            return {Object::gone};
    }
}

int index_in_parent(Object object)
{
    switch (object.kind) {
        case Object::frame:
        case Object::screen:
            return 0;
        case Object::notice:
            return 1;
        case Object::node:
            return object.index;
        default:
            return -1;
    }
}

// The object's states, in AT-SPI's two words of bits.
void states_of(Object object, const Served& served, dbus_uint32_t words[2])
{
    words[0] = words[1] = 0;
    const auto set = [&](int state) { words[state / 32] |= 1u << (state % 32); };
    if (object.kind == Object::gone) {
        set(state_defunct);
        return;
    }
    if (object.kind == Object::app) {
        return;
    }
    for (int state : {state_enabled, state_sensitive, state_showing, state_visible}) {
        set(state);
    }
    if (object.kind == Object::frame) {
        set(state_resizable);
        if (served.tree.active) {
            set(state_active);
        }
    }
    if (object.kind == Object::node) {
        const TreeNode& node = *node_of(object, served);
        set(state_focusable);
        if (object.index == served.tree.focused) {
            set(state_focused);
        }
        if (node.role == TreeNode::Role::toggle) {
            set(state_checkable);
            if (node.checked) {
                set(state_checked);
            }
        }
        if (node.role == TreeNode::Role::text) {
            set(state_read_only);
        }
    }
}

// The object's place: on the desktop (coords_screen), else in the window.
SDL_Rect extents_of(Object object, const Served& served, dbus_uint32_t coords)
{
    const SDL_Rect& window = served.tree.window;
    SDL_Rect area = {0, 0, window.w, window.h};
    if (object.kind == Object::node) {
        area = node_of(object, served)->bounds;
    }
    if (coords == coords_screen) {
        area.x += window.x;
        area.y += window.y;
    }
    return area;
}

// Writes D-Bus values into a message, one after the other.
class Writer {
public:
    explicit Writer(DBusMessage* message) { dbus_message_iter_init_append(message, &iter_); }
    explicit Writer(DBusMessageIter* into, int type, const char* signature) : parent_(into)
    {
        dbus_message_iter_open_container(into, type, signature, &iter_);
    }
    ~Writer()
    {
        if (parent_ != nullptr) {
            dbus_message_iter_close_container(parent_, &iter_);
        }
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    DBusMessageIter* iter() { return &iter_; }
    void string(const std::string& value)
    {
        const char* text = value.c_str();
        dbus_message_iter_append_basic(&iter_, DBUS_TYPE_STRING, &text);
    }
    void path(const std::string& value)
    {
        const char* text = value.c_str();
        dbus_message_iter_append_basic(&iter_, DBUS_TYPE_OBJECT_PATH, &text);
    }
    void int32(dbus_int32_t value)
    {
        dbus_message_iter_append_basic(&iter_, DBUS_TYPE_INT32, &value);
    }
    void uint32(dbus_uint32_t value)
    {
        dbus_message_iter_append_basic(&iter_, DBUS_TYPE_UINT32, &value);
    }
    void boolean(bool value)
    {
        const dbus_bool_t truth = value ? TRUE : FALSE;
        dbus_message_iter_append_basic(&iter_, DBUS_TYPE_BOOLEAN, &truth);
    }
    void int16(dbus_int16_t value)
    {
        dbus_message_iter_append_basic(&iter_, DBUS_TYPE_INT16, &value);
    }
    void real(double value) { dbus_message_iter_append_basic(&iter_, DBUS_TYPE_DOUBLE, &value); }
    // A reference to an object: (bus name, path).
    void ref(const std::string& bus, const std::string& at)
    {
        Writer pair(&iter_, DBUS_TYPE_STRUCT, nullptr);
        pair.string(bus);
        pair.path(at);
    }
    void empty_dict() { empty_list("{ss}"); }
    void empty_list(const char* signature) { Writer list(&iter_, DBUS_TYPE_ARRAY, signature); }
    void rect(const SDL_Rect& area)
    {
        Writer box(&iter_, DBUS_TYPE_STRUCT, nullptr);
        box.int32(area.x);
        box.int32(area.y);
        box.int32(area.w);
        box.int32(area.h);
    }

private:
    DBusMessageIter iter_{};
    DBusMessageIter* parent_ = nullptr;
};

std::string own_name(DBusConnection* bus)
{
    const char* name = dbus_bus_get_unique_name(bus);
    return name != nullptr ? name : "";
}

void write_ref(Writer& out, DBusConnection* bus, Object object, const Served& served)
{
    if (object.kind == Object::gone) {
        out.ref(own_name(bus), "/org/a11y/atspi/null");
    } else {
        out.ref(own_name(bus), path_of(object, served));
    }
}

void write_parent(Writer& out, DBusConnection* bus, Object object, const Served& served)
{
    if (object.kind == Object::app && !served.desktop_bus.empty()) {
        out.ref(served.desktop_bus, served.desktop_path);
    } else {
        write_ref(out, bus, parent_of(object), served);
    }
}

// Writes the value of the property `name` of `iface` as a variant; false
// when the object has no such property.
bool write_property(Writer& out, DBusConnection* bus, Object object, const Served& served,
                    const std::string& iface, const std::string& name)
{
    const TreeNode* node = node_of(object, served);
    const std::string text = name_of(object, served);
    if (iface == accessible_iface) {
        if (name == "Name") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "s").string(text);
        } else if (name == "Description") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "s").string(node ? node->description : "");
        } else if (name == "Parent") {
            Writer value(out.iter(), DBUS_TYPE_VARIANT, "(so)");
            write_parent(value, bus, object, served);
        } else if (name == "ChildCount") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "i")
                .int32(static_cast<dbus_int32_t>(children_of(object, served).size()));
        } else if (name == "Locale" || name == "AccessibleId" || name == "HelpText") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "s").string("");
        } else {
            return false;
        }
        return true;
    }
    if (iface == application_iface && object.kind == Object::app) {
        if (name == "ToolkitName") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "s").string("chalk-hangman");
        } else if (name == "Version") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "s").string(HANGMAN_VERSION);
        } else if (name == "AtspiVersion") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "s").string("2.1");
        } else if (name == "Id") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "i").int32(served.id);
        } else {
            return false;
        }
        return true;
    }
    if (iface == text_iface && has_text(object, served)) {
        if (name == "CharacterCount") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "i")
                .int32(static_cast<dbus_int32_t>(text.size()));
        } else if (name == "CaretOffset") {
            Writer(out.iter(), DBUS_TYPE_VARIANT, "i").int32(0);
        } else {
            return false;
        }
        return true;
    }
    if (iface == action_iface && has_action(object, served) && name == "NActions") {
        Writer(out.iter(), DBUS_TYPE_VARIANT, "i").int32(1);
        return true;
    }
    return false;
}

const char* const property_names[][2] = {
    {accessible_iface, "Name"},          {accessible_iface, "Description"},
    {accessible_iface, "Parent"},        {accessible_iface, "ChildCount"},
    {accessible_iface, "Locale"},        {accessible_iface, "AccessibleId"},
    {application_iface, "ToolkitName"},  {application_iface, "Version"},
    {application_iface, "AtspiVersion"}, {application_iface, "Id"},
    {text_iface, "CharacterCount"},      {text_iface, "CaretOffset"},
    {action_iface, "NActions"},
};

// Properties: Get, GetAll and Set (only the application's Id is set).
DBusMessage* properties_reply(DBusConnection* bus, DBusMessage* call, Object object, Served& served)
{
    const char* iface = "";
    const char* name = "";
    DBusMessage* reply = dbus_message_new_method_return(call);
    Writer out(reply);
    if (dbus_message_is_method_call(call, properties_iface, "Get") &&
        dbus_message_get_args(call, nullptr, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING, &name,
                              DBUS_TYPE_INVALID)) {
        if (write_property(out, bus, object, served, iface, name)) {
            return reply;
        }
    } else if (dbus_message_is_method_call(call, properties_iface, "GetAll") &&
               dbus_message_get_args(call, nullptr, DBUS_TYPE_STRING, &iface, DBUS_TYPE_INVALID)) {
        {
            Writer all(out.iter(), DBUS_TYPE_ARRAY, "{sv}");
            for (const auto& property : property_names) {
                if (std::strcmp(property[0], iface) != 0) {
                    continue;
                }
                DBusMessage* scratch = dbus_message_new_method_return(call);
                Writer probe(scratch);
                const bool has = write_property(probe, bus, object, served, iface, property[1]);
                dbus_message_unref(scratch);
                if (has) {
                    Writer entry(all.iter(), DBUS_TYPE_DICT_ENTRY, nullptr);
                    entry.string(property[1]);
                    write_property(entry, bus, object, served, iface, property[1]);
                }
            }
        }
        return reply;
    } else if (dbus_message_is_method_call(call, properties_iface, "Set")) {
        DBusMessageIter in;
        dbus_message_iter_init(call, &in);
        dbus_message_iter_get_basic(&in, &iface);
        dbus_message_iter_next(&in);
        dbus_message_iter_get_basic(&in, &name);
        dbus_message_iter_next(&in);
        if (object.kind == Object::app && std::strcmp(name, "Id") == 0 &&
            dbus_message_iter_get_arg_type(&in) == DBUS_TYPE_VARIANT) {
            DBusMessageIter value;
            dbus_message_iter_recurse(&in, &value);
            if (dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_INT32) {
                dbus_message_iter_get_basic(&value, &served.id);
            }
            return reply;
        }
    }
    dbus_message_unref(reply);
    return dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_PROPERTY, "No such property");
}

DBusMessage* accessible_reply(DBusConnection* bus, DBusMessage* call, Object object,
                              const Served& served)
{
    const char* member = dbus_message_get_member(call);
    DBusMessage* reply = dbus_message_new_method_return(call);
    Writer out(reply);
    const std::vector<Object> children = children_of(object, served);
    if (std::strcmp(member, "GetChildAtIndex") == 0) {
        dbus_int32_t index = -1;
        dbus_message_get_args(call, nullptr, DBUS_TYPE_INT32, &index, DBUS_TYPE_INVALID);
        write_ref(out, bus,
                  index >= 0 && index < static_cast<dbus_int32_t>(children.size())
                      ? children[static_cast<size_t>(index)]
                      : Object{Object::gone},
                  served);
    } else if (std::strcmp(member, "GetChildren") == 0) {
        Writer list(out.iter(), DBUS_TYPE_ARRAY, "(so)");
        for (Object child : children) {
            write_ref(list, bus, child, served);
        }
    } else if (std::strcmp(member, "GetIndexInParent") == 0) {
        out.int32(index_in_parent(object));
    } else if (std::strcmp(member, "GetRelationSet") == 0) {
        Writer none(out.iter(), DBUS_TYPE_ARRAY, "(ua(so))");
    } else if (std::strcmp(member, "GetRole") == 0) {
        out.uint32(role_of(object, served));
    } else if (std::strcmp(member, "GetRoleName") == 0 ||
               std::strcmp(member, "GetLocalizedRoleName") == 0) {
        out.string(role_name(role_of(object, served)));
    } else if (std::strcmp(member, "GetState") == 0) {
        dbus_uint32_t words[2];
        states_of(object, served, words);
        Writer list(out.iter(), DBUS_TYPE_ARRAY, "u");
        list.uint32(words[0]);
        list.uint32(words[1]);
    } else if (std::strcmp(member, "GetAttributes") == 0) {
        out.empty_dict();
    } else if (std::strcmp(member, "GetApplication") == 0) {
        write_ref(out, bus, {Object::app}, served);
    } else if (std::strcmp(member, "GetInterfaces") == 0) {
        Writer list(out.iter(), DBUS_TYPE_ARRAY, "s");
        list.string(accessible_iface);
        list.string(object.kind == Object::app ? application_iface : component_iface);
        if (has_action(object, served)) {
            list.string(action_iface);
        }
        if (has_text(object, served)) {
            list.string(text_iface);
        }
    } else {
        dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

DBusMessage* component_reply(DBusConnection* bus, DBusMessage* call, Object object,
                             const Served& served)
{
    const char* member = dbus_message_get_member(call);
    DBusMessage* reply = dbus_message_new_method_return(call);
    Writer out(reply);
    dbus_int32_t x = 0;
    dbus_int32_t y = 0;
    dbus_uint32_t coords = coords_screen;
    if (std::strcmp(member, "GetExtents") == 0) {
        dbus_message_get_args(call, nullptr, DBUS_TYPE_UINT32, &coords, DBUS_TYPE_INVALID);
        out.rect(extents_of(object, served, coords));
    } else if (std::strcmp(member, "GetPosition") == 0) {
        dbus_message_get_args(call, nullptr, DBUS_TYPE_UINT32, &coords, DBUS_TYPE_INVALID);
        const SDL_Rect area = extents_of(object, served, coords);
        out.int32(area.x);
        out.int32(area.y);
    } else if (std::strcmp(member, "GetSize") == 0) {
        const SDL_Rect area = extents_of(object, served, coords);
        out.int32(area.w);
        out.int32(area.h);
    } else if (std::strcmp(member, "Contains") == 0 ||
               std::strcmp(member, "GetAccessibleAtPoint") == 0) {
        dbus_message_get_args(call, nullptr, DBUS_TYPE_INT32, &x, DBUS_TYPE_INT32, &y,
                              DBUS_TYPE_UINT32, &coords, DBUS_TYPE_INVALID);
        const SDL_Point point = {x, y};
        if (std::strcmp(member, "Contains") == 0) {
            const SDL_Rect area = extents_of(object, served, coords);
            out.boolean(SDL_PointInRect(&point, &area) == SDL_TRUE);
        } else {
            Object found{Object::gone};
            for (Object child : children_of(object, served)) {
                const SDL_Rect area = extents_of(child, served, coords);
                if (child.kind == Object::node && SDL_PointInRect(&point, &area)) {
                    found = child;
                }
            }
            write_ref(out, bus, found, served);
        }
    } else if (std::strcmp(member, "GetLayer") == 0) {
        out.uint32(object.kind == Object::frame ? layer_window : layer_widget);
    } else if (std::strcmp(member, "GetMDIZOrder") == 0) {
        out.int16(-1);
    } else if (std::strcmp(member, "GrabFocus") == 0) {
        out.boolean(false);
    } else if (std::strcmp(member, "GetAlpha") == 0) {
        out.real(1.0);
    } else {
        dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

DBusMessage* action_reply(DBusMessage* call, Object object, const Served& served)
{
    const char* member = dbus_message_get_member(call);
    const TreeNode& node = *node_of(object, served);
    DBusMessage* reply = dbus_message_new_method_return(call);
    Writer out(reply);
    if (std::strcmp(member, "GetName") == 0 || std::strcmp(member, "GetLocalizedName") == 0) {
        out.string(node.role == TreeNode::Role::toggle ? "toggle" : "click");
    } else if (std::strcmp(member, "GetDescription") == 0) {
        out.string(node.description);
    } else if (std::strcmp(member, "GetKeyBinding") == 0) {
        out.string("");
    } else if (std::strcmp(member, "GetActions") == 0) {
        Writer list(out.iter(), DBUS_TYPE_ARRAY, "(sss)");
        Writer action(list.iter(), DBUS_TYPE_STRUCT, nullptr);
        action.string(node.role == TreeNode::Role::toggle ? "toggle" : "click");
        action.string(node.description);
        action.string("");
    } else if (std::strcmp(member, "DoAction") == 0) {
        // Pressed as a click would: by the game, on its own thread.
        SDL_Event press{};
        press.type = served.press_event;
        press.user.code = object.index;
        out.boolean(served.press_event != 0 && SDL_PushEvent(&press) == 1);
    } else {
        dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

DBusMessage* text_reply(DBusMessage* call, Object object, const Served& served)
{
    const char* member = dbus_message_get_member(call);
    const std::string text = name_of(object, served);
    const auto length = static_cast<dbus_int32_t>(text.size());
    const auto clamp = [length](dbus_int32_t offset) {
        return std::max(0, std::min(offset, length));
    };
    dbus_int32_t first = 0;
    dbus_int32_t second = 0;
    DBusMessage* reply = dbus_message_new_method_return(call);
    Writer out(reply);
    const auto whole_or_character = [&](bool character) {
        const dbus_int32_t at = clamp(first);
        if (character && at < length) {
            out.string(text.substr(static_cast<size_t>(at), 1));
            out.int32(at);
            out.int32(at + 1);
        } else {
            out.string(text);
            out.int32(0);
            out.int32(length);
        }
    };
    if (std::strcmp(member, "GetText") == 0) {
        dbus_message_get_args(call, nullptr, DBUS_TYPE_INT32, &first, DBUS_TYPE_INT32, &second,
                              DBUS_TYPE_INVALID);
        const dbus_int32_t from = clamp(first);
        const dbus_int32_t to = second < 0 ? length : clamp(second);
        out.string(to > from
                       ? text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from))
                       : "");
    } else if (std::strcmp(member, "GetTextAtOffset") == 0 ||
               std::strcmp(member, "GetStringAtOffset") == 0) {
        dbus_uint32_t unit = 0;
        dbus_message_get_args(call, nullptr, DBUS_TYPE_INT32, &first, DBUS_TYPE_UINT32, &unit,
                              DBUS_TYPE_INVALID);
        whole_or_character(unit == 0);  // a character, or else the whole line
    } else if (std::strcmp(member, "GetTextBeforeOffset") == 0 ||
               std::strcmp(member, "GetTextAfterOffset") == 0) {
        out.string("");
        out.int32(0);
        out.int32(0);
    } else if (std::strcmp(member, "GetCharacterAtOffset") == 0) {
        dbus_message_get_args(call, nullptr, DBUS_TYPE_INT32, &first, DBUS_TYPE_INVALID);
        out.int32(first >= 0 && first < length ? text[static_cast<size_t>(first)] : 0);
    } else if (std::strcmp(member, "GetAttributes") == 0 ||
               std::strcmp(member, "GetAttributeRun") == 0) {
        out.empty_dict();
        out.int32(0);
        out.int32(length);
    } else if (std::strcmp(member, "GetDefaultAttributes") == 0 ||
               std::strcmp(member, "GetDefaultAttributeSet") == 0) {
        out.empty_dict();
    } else if (std::strcmp(member, "GetAttributeValue") == 0) {
        out.string("");
    } else if (std::strcmp(member, "GetNSelections") == 0) {
        out.int32(0);
    } else if (std::strcmp(member, "GetSelection") == 0) {
        out.int32(0);
        out.int32(0);
    } else if (std::strcmp(member, "GetCharacterExtents") == 0 ||
               std::strcmp(member, "GetRangeExtents") == 0) {
        dbus_uint32_t coords = coords_screen;
        DBusMessageIter in;
        dbus_message_iter_init(call, &in);
        while (dbus_message_iter_has_next(&in)) {
            dbus_message_iter_next(&in);
        }
        if (dbus_message_iter_get_arg_type(&in) == DBUS_TYPE_UINT32) {
            dbus_message_iter_get_basic(&in, &coords);
        }
        out.rect(extents_of(object, served, coords));
    } else if (std::strcmp(member, "GetOffsetAtPoint") == 0) {
        out.int32(-1);
    } else if (std::strcmp(member, "SetCaretOffset") == 0 ||
               std::strcmp(member, "AddSelection") == 0 ||
               std::strcmp(member, "RemoveSelection") == 0 ||
               std::strcmp(member, "SetSelection") == 0) {
        out.boolean(false);
    } else {
        dbus_message_unref(reply);
        return nullptr;
    }
    return reply;
}

// Sends one of AT-SPI's events from `object`: (detail, detail1, detail2,
// any data, properties), the any data written by `data` into a variant.
template <typename Data>
void emit(DBusConnection* bus, const std::string& at, const char* iface, const char* member,
          const char* detail, int detail1, int detail2, const char* data_signature, Data data)
{
    DBusMessage* signal = dbus_message_new_signal(at.c_str(), iface, member);
    if (signal == nullptr) {
        return;
    }
    {
        Writer out(signal);
        out.string(detail);
        out.int32(detail1);
        out.int32(detail2);
        {
            Writer any(out.iter(), DBUS_TYPE_VARIANT, data_signature);
            data(any);
        }
        Writer properties(out.iter(), DBUS_TYPE_ARRAY, "{sv}");
    }
    dbus_connection_send(bus, signal, nullptr);
    dbus_message_unref(signal);
}

void state_event(DBusConnection* bus, const std::string& at, const char* state, bool on)
{
    emit(bus, at, object_events, "StateChanged", state, on ? 1 : 0, 0, "i",
         [](Writer& any) { any.int32(0); });
}

void name_event(DBusConnection* bus, const std::string& at, const std::string& name)
{
    emit(bus, at, object_events, "PropertyChange", "accessible-name", 0, 0, "s",
         [&](Writer& any) { any.string(name); });
}

}  // namespace

bool answer(DBusConnection* bus, DBusMessage* call, Served& served)
{
    const char* path = dbus_message_get_path(call);
    const char* iface = dbus_message_get_interface(call);
    if (dbus_message_is_method_call(call, "org.a11y.atspi.Cache", "GetItems")) {
        // Nothing cached ahead: a screen reader asks each object itself.
        DBusMessage* reply = dbus_message_new_method_return(call);
        Writer(reply).empty_list("((so)(so)(so)iiassusau)");
        dbus_connection_send(bus, reply, nullptr);
        dbus_message_unref(reply);
        return true;
    }
    if (path == nullptr || iface == nullptr ||
        (std::strcmp(path, root_path) != 0 &&
         std::strncmp(path, prefix, std::strlen(prefix)) != 0)) {
        return false;
    }
    const Object object = object_at(path, served);
    DBusMessage* reply = nullptr;
    if (std::strcmp(iface, properties_iface) == 0) {
        reply = properties_reply(bus, call, object, served);
    } else if (std::strcmp(iface, accessible_iface) == 0) {
        reply = accessible_reply(bus, call, object, served);
    } else if (std::strcmp(iface, component_iface) == 0 && object.kind != Object::app) {
        reply = component_reply(bus, call, object, served);
    } else if (std::strcmp(iface, action_iface) == 0 && has_action(object, served)) {
        reply = action_reply(call, object, served);
    } else if (std::strcmp(iface, text_iface) == 0 && has_text(object, served)) {
        reply = text_reply(call, object, served);
    } else if (std::strcmp(iface, application_iface) == 0 && object.kind == Object::app &&
               dbus_message_is_method_call(call, application_iface, "GetLocale")) {
        reply = dbus_message_new_method_return(call);
        Writer(reply).string("");
    }
    if (reply == nullptr) {
        reply = dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_METHOD, "No such method");
    }
    dbus_connection_send(bus, reply, nullptr);
    dbus_message_unref(reply);
    return true;
}

void tell_changes(DBusConnection* bus, const Tree& before, unsigned before_generation,
                  const Served& served)
{
    const Tree& now = served.tree;
    const std::string frame = path_of({Object::frame}, served);
    if (before_generation != served.generation) {
        Served old;
        old.generation = before_generation;
        const std::string gone = path_of({Object::screen}, old);
        const std::string came = path_of({Object::screen}, served);
        const std::string sender = own_name(bus);
        emit(bus, frame, object_events, "ChildrenChanged", "remove", 0, 0, "(so)",
             [&](Writer& any) { any.ref(sender, gone); });
        emit(bus, frame, object_events, "ChildrenChanged", "add", 0, 0, "(so)",
             [&](Writer& any) { any.ref(sender, came); });
    } else {
        for (size_t i = 0; i < now.nodes.size() && i < before.nodes.size(); ++i) {
            const std::string at = path_of({Object::node, static_cast<int>(i)}, served);
            if (now.nodes[i].name != before.nodes[i].name) {
                name_event(bus, at, now.nodes[i].name);
            }
            if (now.nodes[i].checked != before.nodes[i].checked) {
                state_event(bus, at, "checked", now.nodes[i].checked);
            }
        }
    }
    if (now.active != before.active) {
        emit(bus, frame, window_events, now.active ? "Activate" : "Deactivate", "", 0, 0, "i",
             [](Writer& any) { any.int32(0); });
        state_event(bus, frame, "active", now.active);
    }
    const bool focus_moved =
        before_generation != served.generation || now.focused != before.focused;
    if (now.focused >= 0 && (focus_moved || (now.active && !before.active))) {
        if (before_generation == served.generation && before.focused >= 0) {
            state_event(bus, path_of({Object::node, before.focused}, served), "focused", false);
        }
        state_event(bus, path_of({Object::node, now.focused}, served), "focused", true);
    }
}

void announce(DBusConnection* bus, const Served& served)
{
    const std::string notice = path_of({Object::notice}, served);
    name_event(bus, notice, served.notice);
    state_event(bus, notice, "showing", true);
}

}  // namespace hangman::atspi
