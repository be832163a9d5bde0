// Switches and records for the SDL and C library calls that the test binary
// wraps (see tests/CMakeLists.txt): failures to inject, the order of the
// shutdown calls, and a fixed random generator for the word bank.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hooks {

struct Faults {
    bool refuse_hint = false;     // SDL_SetHint returns false
    bool window_fails = false;    // SDL_CreateWindow returns no window
    int refuse_texture = 0;       // the n-th SDL_CreateTextureFromSurface fails (from 1)
    int textures_created = 0;     // calls of SDL_CreateTextureFromSurface so far
    bool img_init_fails = false;  // IMG_Init reports no PNG support
    bool ttf_init_fails = false;  // TTF_Init returns -1
};

Faults& faults();

// Names of the shutdown calls in the order they were made (SDL_DestroyTexture,
// TTF_CloseFont, SDL_DestroyRenderer, SDL_DestroyWindow, TTF_Quit, IMG_Quit,
// SDL_Quit), each with " null" appended when handed an empty handle.
std::vector<std::string>& shutdown_trace();

// A minimised window, as the window system would report it: SDL_GetWindowFlags
// adds SDL_WINDOW_MINIMIZED while this is true (the offscreen driver cannot
// minimise a window itself).
bool& window_minimised();

// The size of every icon given to a window, in order.
std::vector<std::pair<int, int>>& window_icons();

// Calls of SDL_WaitEvent so far.
int wait_event_calls();

// Every game controller the game has closed, in order, once for each call.
std::vector<const void*>& controllers_closed();

// True while the game's speaking thread waits for something to say, with
// nothing handed to it since it began to wait: all it was given is said.
bool speaker_idle();

// Milliseconds added to SDL_GetTicks, as if that much more time had passed.
void add_ticks(unsigned ms);

// The word bank's random numbers: when set, rand() returns `fixed_rand` and
// time() returns `fixed_time`; calls and srand() seeds are recorded always.
struct Random {
    std::optional<int> fixed_rand;
    std::optional<std::time_t> fixed_time;
    bool time_advances = false;  // each time() call returns fixed_time, then adds 1
    int rand_calls = 0;
    int last_rand = 0;  // the value the last rand() call returned
    std::vector<unsigned> seeds;
};

Random& random();

// A clock of the tests' own for the frame pacing: while `on`, the performance
// counter counts microseconds from `now`, each SDL_RenderPresent moves it on
// by `frame_us` (the time a frame takes), and SDL_Delay sleeps no real time:
// it records its milliseconds in `delays` and moves `now` on by them.
struct Clock {
    bool on = false;
    std::uint64_t now = 0;
    std::uint32_t frame_us = 0;
    std::vector<std::uint32_t> delays;
};

Clock& clock();

// While true, setvbuf treats line buffering as full buffering, as Microsoft's
// C runtime does.
bool& line_buffering_is_full();

// Called with every event SDL_PollEvent hands to the game, before the game
// sees it.
using PollCallback = void (*)(const void* event);
void set_poll_callback(PollCallback callback);

// Called before every SDL_WaitEvent.
using WaitCallback = void (*)();
void set_wait_callback(WaitCallback callback);

// Called after every real SDL_RenderPresent.
using PresentCallback = void (*)();
void set_present_callback(PresentCallback callback);

// Called before every real SDL_RenderPresent, while the frame can be read.
void set_before_present_callback(PresentCallback callback);

// Called for every SDL_RenderCopyEx with its source and destination.
using CopyCallback = void (*)(void* texture, const void* clip, const void* destination);
void set_copy_callback(CopyCallback callback);

}  // namespace hooks
