// Test support: scripted input, frame records, captured output (harness.hpp).
#include "support/harness.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/app.hpp"
#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

namespace harness {

namespace {

// Scripted frames run back to back: a test never waits for a display refresh.
// The game draws offscreen, with no display needed, and neither speaks nor
// holds its figure still unless a test asks for it, whatever the machine's
// own settings say. It sees no desktop of the machine's: no session bus
// (libdbus would start one through X11 for the asking), and no speech
// server started for it (the tests' own configuration refuses
// speech-dispatcher's autospawn). An offscreen window never has the
// keyboard's focus, without which SDL would drop what a controller does.
const bool frames_unpaced = [] {
    set_frame_pacing(false);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 0);
    setenv("HANGMAN_SPEECH", "off", 0);
    setenv("HANGMAN_REDUCED_MOTION", "off", 0);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/hangman-tests/bus", 1);
    setenv("XDG_CONFIG_HOME", HANGMAN_TEST_CONFIG_DIR, 1);
    return true;
}();

std::function<Batch(size_t)> make_batch;
size_t batch_count = 0;
size_t next_batch = 0;
int quits_added = 0;
std::vector<Frame> presented;
std::vector<Copy> drawing;
bool dropping_motion = false;
std::function<void(const Frame&)> frame_check;
bool keep_frames = true;
bool reading_pixels = false;
std::vector<Uint32> frame_pixels;
int frame_width = 0;
int frame_height = 0;

// Harness-made mouse-button events carry this as their mouse id.
constexpr Uint32 scripted_mouse = 0x5C217ED;

// The virtual controller, while it is plugged in, and its device index.
SDL_Joystick* controller = nullptr;
int controller_index = -1;

int drop_motion_while_placing(void*, SDL_Event* event)
{
    return dropping_motion && event->type == SDL_MOUSEMOTION ? 0 : 1;
}

void on_poll(const void* polled)
{
    const auto* event = static_cast<const SDL_Event*>(polled);
    if (event->type == SDL_MOUSEMOTION) {
        set_pointer(event->motion.x, event->motion.y);
    } else if ((event->type == SDL_MOUSEBUTTONDOWN || event->type == SDL_MOUSEBUTTONUP) &&
               event->button.which == scripted_mouse) {
        set_pointer(event->button.x, event->button.y);
    }
}

void push(const SDL_Event& event)
{
    SDL_Event copy = event;
    SDL_PushEvent(&copy);
}

void queue_next_batch()
{
    if (next_batch < batch_count) {
        for (const Action& action : make_batch(next_batch)) {
            action();
        }
        ++next_batch;
        return;
    }
    ++quits_added;
    quit()();
}

std::function<void(size_t)> present_check;

void before_present()
{
    if (present_check) {
        present_check(presented.size());
    }
    if (reading_pixels) {
        SDL_GetRendererOutputSize(renderer, &frame_width, &frame_height);
        frame_pixels.assign(static_cast<size_t>(frame_width) * static_cast<size_t>(frame_height),
                            0);
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, frame_pixels.data(),
                             frame_width * static_cast<int>(sizeof(Uint32)));
    }
}

void on_present()
{
    Frame frame{drawing, window_visible(), std::move(frame_pixels), frame_width, frame_height};
    frame_pixels.clear();
    if (frame_check) {
        frame_check(frame);
    }
    if (keep_frames) {
        presented.push_back(std::move(frame));
    }
    drawing.clear();
    queue_next_batch();
}

// A loop asleep in SDL_WaitEvent presents nothing: while the queue is empty,
// it gets the next batches of the script instead.
void on_wait()
{
    SDL_PumpEvents();
    while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 0) {
        queue_next_batch();
        SDL_PumpEvents();
    }
}

void on_copy(void* texture, const void* clip, const void* destination)
{
    Copy copy{static_cast<SDL_Texture*>(texture), clip != nullptr, SDL_Rect{0, 0, 0, 0},
              *static_cast<const SDL_Rect*>(destination)};
    if (clip != nullptr) {
        copy.clip = *static_cast<const SDL_Rect*>(clip);
    }
    drawing.push_back(copy);
}

void mouse_button_event(Uint32 type, int x, int y, Uint8 button)
{
    SDL_Event event{};
    event.type = type;
    event.button.windowID = SDL_GetWindowID(window);
    event.button.which = scripted_mouse;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    push(event);
}

}  // namespace

Action move_to(int x, int y)
{
    return [=] { SDL_WarpMouseInWindow(window, x, y); };
}

void set_pointer(int x, int y)
{
    dropping_motion = true;
    SDL_WarpMouseInWindow(window, x, y);
    dropping_motion = false;
}

Action place_pointer(int x, int y)
{
    return [=] { set_pointer(x, y); };
}

Action press(int x, int y, Uint8 button)
{
    return [=] {
        SDL_WarpMouseInWindow(window, x, y);
        mouse_button_event(SDL_MOUSEBUTTONDOWN, x, y, button);
    };
}

Action release(int x, int y)
{
    return [=] { mouse_button_event(SDL_MOUSEBUTTONUP, x, y, SDL_BUTTON_LEFT); };
}

Action key(SDL_Keycode sym, bool repeat, Uint16 modifiers)
{
    return [=] {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = SDL_GetWindowID(window);
        event.key.state = SDL_PRESSED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        event.key.keysym.mod = modifiers;
        push(event);
    };
}

Action plug_in_controller()
{
    return [] {
        if (controller != nullptr) {
            return;
        }
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        description.naxes = SDL_CONTROLLER_AXIS_MAX;  // in SDL's order, as are the buttons
        description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        description.name = "Virtual controller";
        controller_index = SDL_JoystickAttachVirtualEx(&description);
        controller = controller_index >= 0 ? SDL_JoystickOpen(controller_index) : nullptr;
        EXPECT_NE(nullptr, controller) << "no virtual controller: " << SDL_GetError();
    };
}

Action controller_button(SDL_GameControllerButton button)
{
    return [button] {
        // SDL queues what changed each time it looks at the joystick.
        SDL_JoystickSetVirtualButton(controller, button, SDL_PRESSED);
        SDL_PumpEvents();
        SDL_JoystickSetVirtualButton(controller, button, SDL_RELEASED);
        SDL_PumpEvents();
    };
}

Action controller_stick(Sint16 x, Sint16 y)
{
    return [x, y] {
        SDL_JoystickSetVirtualAxis(controller, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(controller, SDL_CONTROLLER_AXIS_LEFTY, y);
        SDL_PumpEvents();
    };
}

Action pull_out_controller()
{
    return [] {
        if (controller != nullptr) {
            SDL_JoystickClose(controller);
            SDL_JoystickDetachVirtual(controller_index);
            controller = nullptr;
        }
    };
}

Action window_event(Uint8 id)
{
    return [=] {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(window);
        event.window.event = id;
        push(event);
    };
}

Action hide_window()
{
    return [] { SDL_HideWindow(window); };
}

Action show_window()
{
    return [] { SDL_ShowWindow(window); };
}

Action minimise_window()
{
    return [] {
        if (!hooks::window_minimised()) {
            hooks::window_minimised() = true;
            window_event(SDL_WINDOWEVENT_MINIMIZED)();
        }
    };
}

Action restore_window()
{
    return [] {
        if (hooks::window_minimised()) {
            hooks::window_minimised() = false;
            window_event(SDL_WINDOWEVENT_RESTORED)();
        }
    };
}

Action quit()
{
    return [] {
        SDL_Event event{};
        event.type = SDL_QUIT;
        push(event);
    };
}

void run_script(std::vector<Batch> batches)
{
    const size_t count = batches.size();
    auto shared = std::make_shared<std::vector<Batch>>(std::move(batches));
    run_generated_script([shared](size_t n) { return (*shared)[n]; }, count);
}

void run_generated_script(std::function<Batch(size_t)> make, size_t count)
{
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        flush_events();
        // Setting a filter also empties the queue, so it is set only here.
        SDL_SetEventFilter(drop_motion_while_placing, nullptr);
    }
    make_batch = std::move(make);
    batch_count = count;
    next_batch = 0;
    quits_added = 0;
    presented.clear();
    drawing.clear();
    hooks::set_present_callback(on_present);
    hooks::set_before_present_callback(before_present);
    hooks::set_poll_callback(on_poll);
    hooks::set_wait_callback(on_wait);
    hooks::set_copy_callback(on_copy);
    queue_next_batch();
}

void before_each_present(std::function<void(size_t)> check)
{
    present_check = std::move(check);
}

const std::vector<Frame>& frames()
{
    return presented;
}

void watch_frames(std::function<void(const Frame&)> check, bool keep)
{
    frame_check = std::move(check);
    keep_frames = keep;
}

int extra_quits()
{
    return quits_added;
}

size_t batches_queued()
{
    return next_batch;
}

void capture_pixels(bool on)
{
    reading_pixels = on;
}

const std::vector<Copy>& pending_copies()
{
    return drawing;
}

void flush_events()
{
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void reset_catalogue()
{
    for (Button* button : {&start_button, &options_button, &easy_button, &med_button, &hard_button,
                           &back_button, &dev_mode_button}) {
        *button = Button{};
    }
    dev_mode = false;
}

bool start_game_media()
{
    const char* failed = nullptr;
    if (chdir(HANGMAN_ASSET_DIR) != 0) {
        failed = "cannot enter the folder";
    } else if (!init()) {
        failed = "start-up failed";
    } else if (!load_media()) {
        failed = "the artwork did not load";
    }
    if (failed != nullptr) {
        std::fprintf(stderr, "%s %s: %s\n", HANGMAN_ASSET_DIR, failed, SDL_GetError());
        return false;
    }
    flush_events();
    return true;
}

void GameTest::SetUp()
{
    dev_mode = false;  // as at every program start, also when tests share a process
    ASSERT_TRUE(start_game_media());
}

void GameTest::TearDown()
{
    pull_out_controller()();
    close();
}

CapturedStdout::CapturedStdout(int fd) : fd_(fd), saved_fd_(-1), file_(std::tmpfile())
{
    std::fflush(stdout);
    std::fflush(stderr);
    saved_fd_ = dup(fd_);
    dup2(fileno(file_), fd_);
}

CapturedStdout::~CapturedStdout()
{
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(saved_fd_, fd_);
    ::close(saved_fd_);
    std::fclose(file_);
}

std::string CapturedStdout::text()
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::string result;
    std::rewind(file_);
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file_)) > 0) {
        result.append(buffer, got);
    }
    return result;
}

std::string enter_scratch_copy_of_assets()
{
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/hangman-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        ADD_FAILURE() << "cannot make a scratch folder";
        return {};
    }
    const fs::path scratch(made);
    static std::vector<fs::path> made_folders;
    if (made_folders.empty()) {
        std::atexit([] {
            std::error_code ignored;
            for (const fs::path& folder : made_folders) {
                fs::remove_all(folder, ignored);
            }
        });
    }
    made_folders.push_back(scratch);
    fs::copy(fs::path(HANGMAN_ASSET_DIR) / "pngs", scratch / "pngs");
    fs::copy(fs::path(HANGMAN_ASSET_DIR) / "png", scratch / "png");
    fs::copy(fs::path(HANGMAN_ASSET_DIR) / "icon.png", scratch / "icon.png");
    fs::current_path(scratch);
    return scratch.string();
}

void restore_images()
{
    namespace fs = std::filesystem;
    fs::remove_all("pngs");
    fs::copy(fs::path(HANGMAN_ASSET_DIR) / "pngs", "pngs");
}

std::string describe(const Frame& frame)
{
    std::ostringstream out;
    for (const Copy& copy : frame.copies) {
        out << "  " << copy.texture << " clip ";
        if (copy.has_clip) {
            out << "{" << copy.clip.x << "," << copy.clip.y << "," << copy.clip.w << ","
                << copy.clip.h << "}";
        } else {
            out << "none";
        }
        out << " at (" << copy.destination.x << "," << copy.destination.y << ") "
            << copy.destination.w << "x" << copy.destination.h << "\n";
    }
    return out.str();
}

}  // namespace harness
