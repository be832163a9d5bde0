// What only Windows does (see platform.hpp): speech through SAPI, the
// screen reader and reduced motion from the system's settings, and the
// window brought to the front at start.
// clang-format off
#include <windows.h>  // first: the others build on it
#include <sapi.h>
// clang-format on

#include <string>

#include "platform/platform.hpp"

namespace {

// The voice, made on the thread that speaks with COM started there.
ISpVoice* voice = nullptr;
bool com_started = false;

std::wstring wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    return result;
}

bool system_setting(UINT setting, bool otherwise)
{
    BOOL value = otherwise ? TRUE : FALSE;
    return SystemParametersInfoW(setting, 0, &value, 0) ? value != FALSE : otherwise;
}

}  // namespace

namespace hangman {

void platform_prepare()
{
    // With it SDL declares the game aware of each monitor's scale (as its
    // manifest does) and counts the window in points, so that on a display
    // at 200 % the window keeps its size and the game draws into its
    // 1280 x 960 pixels, instead of Windows stretching a 640 x 480 picture.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    // The click that brings the window to the front also presses what it
    // lands on, as in any other program.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

void platform_window_created(SDL_Window* window)
{
    // A program started by a shortcut that starts its console minimised
    // shows its own first window minimised too; the game comes up in front.
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0) {
        SDL_RestoreWindow(window);
    }
    SDL_RaiseWindow(window);
}

bool platform_reduced_motion()
{
    return !system_setting(SPI_GETCLIENTAREAANIMATION, true);
}

bool platform_screen_reader()
{
    return system_setting(SPI_GETSCREENREADER, false);
}

void platform_voice_say(const std::string& text)
{
    if (voice == nullptr) {
        com_started = com_started || SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        if (!com_started ||
            FAILED(CoCreateInstance(__uuidof(SpVoice), nullptr, CLSCTX_ALL, __uuidof(ISpVoice),
                                    reinterpret_cast<void**>(&voice)))) {
            voice = nullptr;
            return;
        }
    }
    // Spoken by SAPI's own thread; a new text cuts the last one short.
    voice->Speak(wide(text).c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
}

void platform_voice_close()
{
    if (voice != nullptr) {
        voice->Release();
        voice = nullptr;
    }
    if (com_started) {
        CoUninitialize();
        com_started = false;
    }
}

}  // namespace hangman
