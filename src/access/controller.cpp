// Game controllers (see controller.hpp).
#include "access/controller.hpp"

#include <cstdlib>
#include <vector>

namespace hangman {

namespace {

// A stick counts as pushed past half way and as let go below a quarter, so
// that a stick held near the line does not push again and again.
constexpr int push_at = 16384;
constexpr int let_go_below = 8192;

struct Controller {
    SDL_GameController* handle;
    SDL_JoystickID id;
    int x = 0;  // the left stick's direction on each axis: -1, 0 or 1
    int y = 0;
};

std::vector<Controller> controllers;
bool started = false;

void open_controller(int device_index)
{
    SDL_GameController* handle = SDL_GameControllerOpen(device_index);
    if (handle == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle));
    for (const Controller& controller : controllers) {
        if (controller.id == id) {
            SDL_GameControllerClose(handle);  // opened already: SDL counts each open
            return;
        }
    }
    controllers.push_back({handle, id});
}

void close_controller(SDL_JoystickID id)
{
    for (auto it = controllers.begin(); it != controllers.end(); ++it) {
        if (it->id == id) {
            SDL_GameControllerClose(it->handle);
            controllers.erase(it);
            return;
        }
    }
}

// The stick's new direction on one axis, from its position.
int direction(int held, Sint16 value)
{
    const int distance = std::abs(static_cast<int>(value));
    if (distance >= push_at) {
        return value < 0 ? -1 : 1;
    }
    return distance < let_go_below ? 0 : held;
}

// Rewrites a move of the left stick that pushes it into a direction as the
// D-pad's press; false for any other motion.
bool stick_as_dpad(SDL_Event& event)
{
    const SDL_ControllerAxisEvent motion = event.caxis;
    const bool across = motion.axis == SDL_CONTROLLER_AXIS_LEFTX;
    if (!across && motion.axis != SDL_CONTROLLER_AXIS_LEFTY) {
        return false;
    }
    for (Controller& controller : controllers) {
        if (controller.id != motion.which) {
            continue;
        }
        int& held = across ? controller.x : controller.y;
        const int now = direction(held, motion.value);
        const bool pushed = now != 0 && now != held;
        held = now;
        if (!pushed) {
            return false;
        }
        SDL_Event press{};
        press.cbutton.type = SDL_CONTROLLERBUTTONDOWN;
        press.cbutton.timestamp = motion.timestamp;
        press.cbutton.which = motion.which;
        press.cbutton.state = SDL_PRESSED;
        press.cbutton.button = static_cast<Uint8>(
            across ? (now < 0 ? SDL_CONTROLLER_BUTTON_DPAD_LEFT : SDL_CONTROLLER_BUTTON_DPAD_RIGHT)
                   : (now < 0 ? SDL_CONTROLLER_BUTTON_DPAD_UP : SDL_CONTROLLER_BUTTON_DPAD_DOWN));
        event = press;
        return true;
    }
    return false;
}

}  // namespace

bool start_controllers()
{
    started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return started;
}

bool take_controller_event(SDL_Event& event)
{
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open_controller(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            close_controller(event.cdevice.which);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            return !stick_as_dpad(event);
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERDEVICEREMAPPED:
        case SDL_JOYAXISMOTION:
        case SDL_JOYBALLMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED:
            return true;
        default:
            return false;
    }
}

void stop_controllers()
{
    for (const Controller& controller : controllers) {
        SDL_GameControllerClose(controller.handle);
    }
    controllers.clear();
    if (started) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        started = false;
    }
}

}  // namespace hangman
