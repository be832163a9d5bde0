// The wrapped SDL and C library calls of the test binary (see sdl_hooks.hpp).
#include "support/sdl_hooks.hpp"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#endif

namespace hooks {

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The OpenGL driver is unloaded again at SDL_Quit, so its leaks would be
// reported from an unknown module. Keeping it loaded lets the leak checker
// name it, and tests/sanitizer/lsan.supp suppress exactly the driver's leaks.
const bool graphics_driver_pinned = [] {
    for (const char* library :
         {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"}) {
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    }
    return true;
}();
#endif

Faults the_faults;
std::vector<std::string> the_trace;
int the_wait_calls = 0;
std::vector<const void*> the_controllers_closed;
// The speaking thread's waits: how many threads wait now, and how many
// signals had been given when the last of them began.
std::atomic<int> the_waiting{0};
std::atomic<unsigned long> the_signals{0};
std::atomic<unsigned long> the_signals_at_wait{0};
std::atomic<unsigned> the_ticks_added{0};
Random the_random;
Clock the_clock;
bool the_line_buffering_is_full = false;
bool the_window_minimised = false;
std::vector<std::pair<int, int>> the_window_icons;
PresentCallback the_present_callback = nullptr;
PresentCallback the_before_present_callback = nullptr;
PollCallback the_poll_callback = nullptr;
WaitCallback the_wait_callback = nullptr;
CopyCallback the_copy_callback = nullptr;

void note(const char* name, const void* handle)
{
    the_trace.push_back(handle == nullptr ? std::string(name) + " null" : std::string(name));
}
}  // namespace

Faults& faults()
{
    return the_faults;
}

std::vector<std::string>& shutdown_trace()
{
    return the_trace;
}

bool& window_minimised()
{
    return the_window_minimised;
}

std::vector<std::pair<int, int>>& window_icons()
{
    return the_window_icons;
}

int wait_event_calls()
{
    return the_wait_calls;
}

std::vector<const void*>& controllers_closed()
{
    return the_controllers_closed;
}

bool speaker_idle()
{
    return the_waiting > 0 && the_signals_at_wait == the_signals;
}

void add_ticks(unsigned ms)
{
    the_ticks_added += ms;
}

Random& random()
{
    return the_random;
}

Clock& clock()
{
    return the_clock;
}

bool& line_buffering_is_full()
{
    return the_line_buffering_is_full;
}

void set_wait_callback(WaitCallback callback)
{
    the_wait_callback = callback;
}

void set_poll_callback(PollCallback callback)
{
    the_poll_callback = callback;
}

void set_present_callback(PresentCallback callback)
{
    the_present_callback = callback;
}

void set_before_present_callback(PresentCallback callback)
{
    the_before_present_callback = callback;
}

void set_copy_callback(CopyCallback callback)
{
    the_copy_callback = callback;
}

}  // namespace hooks

extern "C" {

int __real_SDL_PollEvent(SDL_Event* event);
void __real_SDL_RenderPresent(SDL_Renderer* renderer);
int __real_SDL_RenderCopyEx(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* clip,
                            const SDL_Rect* destination, double angle, const SDL_Point* centre,
                            SDL_RendererFlip flip);
SDL_bool __real_SDL_SetHint(const char* name, const char* value);
SDL_Window* __real_SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags);
SDL_Texture* __real_SDL_CreateTextureFromSurface(SDL_Renderer* renderer, SDL_Surface* surface);
int __real_SDL_WaitEvent(SDL_Event* event);
int __real_IMG_Init(int flags);
int __real_TTF_Init(void);
void __real_SDL_DestroyTexture(SDL_Texture* texture);
void __real_TTF_CloseFont(TTF_Font* font);
void __real_SDL_DestroyRenderer(SDL_Renderer* renderer);
void __real_SDL_DestroyWindow(SDL_Window* window);
void __real_TTF_Quit(void);
void __real_IMG_Quit(void);
void __real_SDL_Quit(void);
int __real_rand(void);
void __real_srand(unsigned seed);
time_t __real_time(time_t* out);
Uint32 __real_SDL_GetWindowFlags(SDL_Window* window);
void __real_SDL_SetWindowIcon(SDL_Window* window, SDL_Surface* icon);
Uint64 __real_SDL_GetPerformanceCounter(void);
Uint64 __real_SDL_GetPerformanceFrequency(void);
void __real_SDL_Delay(Uint32 ms);
int __real_setvbuf(FILE* stream, char* buffer, int mode, size_t size);
void __real_SDL_GameControllerClose(SDL_GameController* controller);
int __real_SDL_CondWait(SDL_cond* condition, SDL_mutex* mutex);
int __real_SDL_CondSignal(SDL_cond* condition);
Uint32 __real_SDL_GetTicks(void);

int __wrap_SDL_PollEvent(SDL_Event* event)
{
    const int got = __real_SDL_PollEvent(event);
    if (got != 0 && event != nullptr && hooks::the_poll_callback != nullptr) {
        hooks::the_poll_callback(event);
    }
    return got;
}

void __wrap_SDL_RenderPresent(SDL_Renderer* renderer)
{
    if (hooks::the_before_present_callback != nullptr) {
        hooks::the_before_present_callback();
    }
    __real_SDL_RenderPresent(renderer);
    if (hooks::the_clock.on) {
        hooks::the_clock.now += hooks::the_clock.frame_us;
    }
    if (hooks::the_present_callback != nullptr) {
        hooks::the_present_callback();
    }
}

int __wrap_SDL_RenderCopyEx(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* clip,
                            const SDL_Rect* destination, double angle, const SDL_Point* centre,
                            SDL_RendererFlip flip)
{
    if (hooks::the_copy_callback != nullptr) {
        hooks::the_copy_callback(texture, clip, destination);
    }
    return __real_SDL_RenderCopyEx(renderer, texture, clip, destination, angle, centre, flip);
}

SDL_bool __wrap_SDL_SetHint(const char* name, const char* value)
{
    if (hooks::the_faults.refuse_hint) {
        return SDL_FALSE;
    }
    return __real_SDL_SetHint(name, value);
}

SDL_Window* __wrap_SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags)
{
    if (hooks::the_faults.window_fails) {
        SDL_SetError("the window system said no");
        return nullptr;
    }
    return __real_SDL_CreateWindow(title, x, y, w, h, flags);
}

SDL_Texture* __wrap_SDL_CreateTextureFromSurface(SDL_Renderer* renderer, SDL_Surface* surface)
{
    if (++hooks::the_faults.textures_created == hooks::the_faults.refuse_texture) {
        SDL_SetError("Out of texture memory");
        return nullptr;
    }
    return __real_SDL_CreateTextureFromSurface(renderer, surface);
}

int __wrap_SDL_WaitEvent(SDL_Event* event)
{
    ++hooks::the_wait_calls;
    if (hooks::the_wait_callback != nullptr) {
        hooks::the_wait_callback();
    }
    return __real_SDL_WaitEvent(event);
}

int __wrap_IMG_Init(int flags)
{
    if (hooks::the_faults.img_init_fails) {
        SDL_SetError("PNG images are not supported");
        return 0;
    }
    return __real_IMG_Init(flags);
}

int __wrap_TTF_Init(void)
{
    if (hooks::the_faults.ttf_init_fails) {
        SDL_SetError("FreeType could not start");
        return -1;
    }
    return __real_TTF_Init();
}

void __wrap_SDL_DestroyTexture(SDL_Texture* texture)
{
    hooks::note("SDL_DestroyTexture", texture);
    __real_SDL_DestroyTexture(texture);
}

void __wrap_TTF_CloseFont(TTF_Font* font)
{
    hooks::note("TTF_CloseFont", font);
    __real_TTF_CloseFont(font);
}

void __wrap_SDL_DestroyRenderer(SDL_Renderer* renderer)
{
    hooks::note("SDL_DestroyRenderer", renderer);
    __real_SDL_DestroyRenderer(renderer);
}

void __wrap_SDL_DestroyWindow(SDL_Window* window)
{
    hooks::note("SDL_DestroyWindow", window);
    __real_SDL_DestroyWindow(window);
}

void __wrap_TTF_Quit(void)
{
    hooks::the_trace.emplace_back("TTF_Quit");
    __real_TTF_Quit();
}

void __wrap_IMG_Quit(void)
{
    hooks::the_trace.emplace_back("IMG_Quit");
    __real_IMG_Quit();
}

void __wrap_SDL_Quit(void)
{
    hooks::the_trace.emplace_back("SDL_Quit");
    __real_SDL_Quit();
}

void __wrap_SDL_SetWindowIcon(SDL_Window* window, SDL_Surface* icon)
{
    hooks::the_window_icons.emplace_back(icon != nullptr ? icon->w : 0,
                                         icon != nullptr ? icon->h : 0);
    __real_SDL_SetWindowIcon(window, icon);
}

Uint32 __wrap_SDL_GetWindowFlags(SDL_Window* window)
{
    const Uint32 flags = __real_SDL_GetWindowFlags(window);
    return hooks::the_window_minimised ? flags | SDL_WINDOW_MINIMIZED : flags;
}

int __wrap_rand(void)
{
    ++hooks::the_random.rand_calls;
    hooks::the_random.last_rand =
        hooks::the_random.fixed_rand ? *hooks::the_random.fixed_rand : __real_rand();
    return hooks::the_random.last_rand;
}

void __wrap_srand(unsigned seed)
{
    hooks::the_random.seeds.push_back(seed);
    __real_srand(seed);
}

time_t __wrap_time(time_t* out)
{
    if (!hooks::the_random.fixed_time) {
        return __real_time(out);
    }
    const std::time_t now = *hooks::the_random.fixed_time;
    if (hooks::the_random.time_advances) {
        hooks::the_random.fixed_time = now + 1;
    }
    if (out != nullptr) {
        *out = now;
    }
    return now;
}

Uint64 __wrap_SDL_GetPerformanceCounter(void)
{
    return hooks::the_clock.on ? hooks::the_clock.now : __real_SDL_GetPerformanceCounter();
}

Uint64 __wrap_SDL_GetPerformanceFrequency(void)
{
    return hooks::the_clock.on ? 1000000 : __real_SDL_GetPerformanceFrequency();
}

void __wrap_SDL_Delay(Uint32 ms)
{
    if (!hooks::the_clock.on) {
        __real_SDL_Delay(ms);
        return;
    }
    hooks::the_clock.delays.push_back(ms);
    hooks::the_clock.now += 1000 * static_cast<Uint64>(ms);
}

void __wrap_SDL_GameControllerClose(SDL_GameController* controller)
{
    hooks::the_controllers_closed.push_back(controller);
    __real_SDL_GameControllerClose(controller);
}

// Only the game's speaking thread waits on a condition (SDL's own calls are
// not wrapped): it holds the mutex here, so no signal can come in between.
int __wrap_SDL_CondWait(SDL_cond* condition, SDL_mutex* mutex)
{
    hooks::the_signals_at_wait = hooks::the_signals.load();
    ++hooks::the_waiting;
    const int result = __real_SDL_CondWait(condition, mutex);
    --hooks::the_waiting;
    return result;
}

int __wrap_SDL_CondSignal(SDL_cond* condition)
{
    ++hooks::the_signals;
    return __real_SDL_CondSignal(condition);
}

Uint32 __wrap_SDL_GetTicks(void)
{
    return __real_SDL_GetTicks() + hooks::the_ticks_added;
}

int __wrap_setvbuf(FILE* stream, char* buffer, int mode, size_t size)

{
    if (hooks::the_line_buffering_is_full && mode == _IOLBF) {
        mode = _IOFBF;
    }
    return __real_setvbuf(stream, buffer, mode, size);
}

}  // extern "C"
