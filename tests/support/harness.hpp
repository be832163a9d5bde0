// Test support: drives the game's real screen loops frame by frame.
//
// A script is a list of batches of input. Batch 0 is queued before the loop
// starts; batch n is queued right after the n-th frame is presented (the test
// binary wraps SDL_RenderPresent). Every presented frame keeps the list of
// sprites copied into it, so tests check what was drawn.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

using Action = std::function<void()>;
using Batch = std::vector<Action>;

// Input actions. The pointer is placed with SDL_WarpMouseInWindow, which also
// queues the motion event a real mouse would. When the game takes a motion
// event, or a press or release made here, from the queue, the pointer is put
// back at that event's position: several moves and clicks in one batch each
// land where they were made. place_pointer moves it with no event at all.
Action move_to(int x, int y);
Action press(int x, int y, Uint8 button = SDL_BUTTON_LEFT);  // moves there, then presses
Action release(int x, int y);
Action key(SDL_Keycode sym, bool repeat = false, Uint16 modifiers = KMOD_NONE);
Action quit();
Action place_pointer(int x, int y);  // moves the pointer without queuing motion

// Window actions. Hiding and showing are SDL's own; minimising and restoring
// are what the window system would report (the flag and the event).
Action hide_window();
Action show_window();
Action minimise_window();
Action restore_window();
Action window_event(Uint8 event);  // queues a window event, nothing more

// A game controller, one of SDL's virtual joysticks, as the player would
// use it: plugged in (in a batch before the first use of it: the game opens
// it when it takes the news from the queue), a button pressed and let go,
// the left stick held at (x, y), pulled out.
Action plug_in_controller();
Action controller_button(SDL_GameControllerButton button);
Action controller_stick(Sint16 x, Sint16 y);
Action pull_out_controller();

// Moves the pointer at once, without queuing a motion event.
void set_pointer(int x, int y);

struct Copy {
    SDL_Texture* texture;
    bool has_clip;
    SDL_Rect clip;
    SDL_Rect destination;
};

struct Frame {
    std::vector<Copy> copies;
    bool shown = true;           // the window was visible when it was presented
    std::vector<Uint32> pixels;  // ARGB, read back when capture_pixels() is on
    int width = 0;               // of the window's pixels read back
    int height = 0;
};

// Empties the queue, then queues batch 0 and the others after each present. Once the script is
// used up, every present queues a close request so that loops always end.
void run_script(std::vector<Batch> batches);

// Like run_script, but batch n is made by `make(n)` only when it is due, for
// `count` batches; for runs too long to hold in memory.
void run_generated_script(std::function<Batch(size_t)> make, size_t count);

// Frames presented since the last run_script, with the sprites of each.
const std::vector<Frame>& frames();

// Hands every presented frame to `check` as it is presented; with
// `keep` false, frames() stays empty (for very long runs).
void watch_frames(std::function<void(const Frame&)> check, bool keep);

// Close requests queued because the script ran out.
int extra_quits();

// Batches of the script queued so far.
size_t batches_queued();

// Reads every presented frame's pixels back into Frame::pixels.
void capture_pixels(bool on);

// Calls `check` just before each frame is presented, with the count of
// frames presented before it, until it is set to nullptr.
void before_each_present(std::function<void(size_t)> check);

// The copies made into the frame being drawn now (not yet presented).
const std::vector<Copy>& pending_copies();

// Starts SDL as the game does and loads the media from the build's artwork,
// working in that folder. False, with the reason on standard error, when
// the folder, a library or any file of the artwork is missing.
bool start_game_media();

// A test that runs with the game started and its media loaded, working in
// the build's folder; everything is shut down again after the test.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Empties the event queue (window events of start-up included).
void flush_events();

// Puts every button and flag of the catalogue back to its start value.
void reset_catalogue();

// Captures what the process writes to standard output (or to the file
// descriptor given, such as standard error's).
class CapturedStdout {
public:
    explicit CapturedStdout(int fd = 1);
    ~CapturedStdout();
    CapturedStdout(const CapturedStdout&) = delete;
    CapturedStdout& operator=(const CapturedStdout&) = delete;
    std::string text();  // everything written so far

private:
    int fd_;
    int saved_fd_;
    std::FILE* file_;
};

// A fresh scratch folder holding a copy of the artwork; the process works in it.
std::string enter_scratch_copy_of_assets();

// Puts an undamaged copy of the images back into the scratch folder.
void restore_images();

// Describes the copies of a frame as text, for failure messages.
std::string describe(const Frame& frame);

}  // namespace harness
