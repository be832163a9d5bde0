// What the game says, and when (see speech.hpp). A text is said once the
// frame that shows what it tells has been presented. The texts go to the
// system's speech on a thread of their own, in order, so that a slow or
// stuck speech server never holds up a frame; where there are no threads
// (the web page) they go at once.
#include "access/speech.hpp"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "gfx/frame.hpp"
#include "gfx/media.hpp"
#include "platform/platform.hpp"

namespace hangman {

namespace {

// Texts not yet spoken when more arrive are dropped, oldest first: each new
// text would cut them short anyway.
constexpr std::size_t most_waiting = 1000;
// How long shutdown waits for the speaking thread to say what is left; one
// stuck in a speech server that never answers is left behind, and ends with
// the program.
constexpr Uint32 farewell_ms = 1000;

bool speaking = false;
const char* told = nullptr;  // the screen told last

// The thread that speaks, and what it shares with the game. It lives on the
// heap: one left stuck at shutdown keeps it, to the end of the process.
struct Speaker {
    SDL_mutex* lock = nullptr;
    SDL_cond* wake = nullptr;
    SDL_Thread* thread = nullptr;
    std::deque<std::string> waiting;
    bool stopping = false;
    bool finished = false;   // it has let the system's speech go
    bool abandoned = false;  // left stuck at shutdown: it lets nothing go
};
Speaker* speaker = nullptr;
Speaker* left_stuck = nullptr;  // kept within reach, never freed
bool no_threads = false;        // none can be made here (the web page): texts go at once

int speak_waiting_texts(void* data)
{
    Speaker& own = *static_cast<Speaker*>(data);
    SDL_LockMutex(own.lock);
    for (;;) {
        while (own.waiting.empty() && !own.stopping) {
            SDL_CondWait(own.wake, own.lock);
        }
        if (own.waiting.empty()) {
            break;  // stopping, with everything said
        }
        const std::string text = std::move(own.waiting.front());
        own.waiting.pop_front();
        SDL_UnlockMutex(own.lock);
        platform_voice_say(text);
        SDL_LockMutex(own.lock);
    }
    const bool abandoned = own.abandoned;
    SDL_UnlockMutex(own.lock);
    if (!abandoned) {
        platform_voice_close();  // on the thread that opened it, as Windows' COM wants
    }
    SDL_LockMutex(own.lock);
    own.finished = true;
    SDL_CondSignal(own.wake);
    SDL_UnlockMutex(own.lock);
    return 0;
}

void end_speaker(Speaker* ended)
{
    SDL_DestroyCond(ended->wake);
    SDL_DestroyMutex(ended->lock);
    delete ended;
}

// A speaker with its thread running; nullptr where no thread can be made.
Speaker* start_speaker()
{
    auto* made = new Speaker;
    made->lock = SDL_CreateMutex();
    made->wake = SDL_CreateCond();
    if (made->lock != nullptr && made->wake != nullptr) {
        made->thread = SDL_CreateThread(speak_waiting_texts, "speech", made);
    }
    if (made->thread == nullptr) {
        end_speaker(made);
        return nullptr;
    }
    return made;
}

// A text said, and how many frames had been presented then: it is spoken
// once the frame after those is.
struct Unsaid {
    std::string text;
    unsigned long frame;
};
std::vector<Unsaid> unsaid;
bool closing = false;  // the window's close was requested: nothing more is said

// Keeps the text to be spoken once the frame that shows it is out.
void say(const std::string& text)
{
    if (speaking && !closing) {
        unsaid.push_back({text, frames_presented()});
    }
}

// Hands the text to the speaking thread, started on the first text.
void speak(const std::string& text)
{
    if (speaker == nullptr && !no_threads) {
        speaker = start_speaker();
        no_threads = speaker == nullptr;
    }
    if (speaker == nullptr) {
        platform_voice_say(text);
        return;
    }
    SDL_LockMutex(speaker->lock);
    speaker->waiting.push_back(text);
    if (speaker->waiting.size() > most_waiting) {
        speaker->waiting.pop_front();
    }
    SDL_CondSignal(speaker->wake);
    SDL_UnlockMutex(speaker->lock);
}

const char* button_name(const Button& button)
{
    if (&button == &dev_mode_button) {
        return dev_mode ? "Developer mode: on" : "Developer mode: off";
    }
    const struct {
        const Button* button;
        const char* name;
    } names[] = {
        {&start_button, "Start"}, {&options_button, "Options"}, {&easy_button, "Easy"},
        {&med_button, "Medium"},  {&hard_button, "Hard"},       {&back_button, "Back"},
    };
    for (const auto& entry : names) {
        if (entry.button == &button) {
            return entry.name;
        }
    }
    return "";
}

char letter_name(int letter)
{
    return static_cast<char>('A' + letter - 1);
}

// Tells the web page which screen shows, and speaks `text` unless that
// screen has been told already.
void tell_screen(const char* screen, const std::string& text)
{
    if (told != nullptr && std::strcmp(told, screen) == 0) {
        return;
    }
    told = screen;
    platform_screen(screen);
    say(text);
}

std::string count(int number, const char* one, const char* many)
{
    return std::to_string(number) + " " + (number == 1 ? one : many);
}

// "The word: F blank O blank, 2 of 4 letters found. 5 tries left. Guessed: O, X."
std::string progress(const GameView& view)
{
    std::string word;
    int found = 0;
    for (std::size_t i = 0; i < view.word.size(); ++i) {
        const bool shown = i < view.revealed.size() && view.revealed[i] != 0;
        found += shown ? 1 : 0;
        word += i == 0 ? "" : " ";
        word += shown ? std::string(1, static_cast<char>(view.word[i] - 'a' + 'A')) : "blank";
    }
    std::string text = "The word: " + word + ", " + std::to_string(found) + " of " +
                       count(static_cast<int>(view.word.size()), "letter", "letters") + " found. " +
                       count(view.tries, "try", "tries") + " left.";
    for (int i = 0; i < view.guess_count; ++i) {
        text += (i == 0 ? " Guessed: " : ", ") + std::string(1, letter_name(view.guessed[i]));
    }
    return text + (view.guess_count > 0 ? "." : "");
}

}  // namespace

void start_speech()
{
    const char* setting = std::getenv("HANGMAN_SPEECH");
    if (setting != nullptr &&
        (std::strcmp(setting, "on") == 0 || std::strcmp(setting, "off") == 0)) {
        speaking = std::strcmp(setting, "on") == 0;
    } else {
        speaking = platform_screen_reader();
    }
    told = nullptr;
    closing = false;
}

void speak_shown()
{
    const unsigned long presented = frames_presented();
    std::size_t shown = 0;
    while (shown < unsaid.size() && unsaid[shown].frame < presented) {
        speak(unsaid[shown++].text);
    }
    unsaid.erase(unsaid.begin(), unsaid.begin() + static_cast<long>(shown));
}

void close_requested()
{
    closing = true;
    unsaid.clear();
}

void stop_speech()
{
    speak_shown();  // what the last frame showed is said still
    unsaid.clear();
    speaking = false;
    if (speaker == nullptr) {
        if (no_threads) {
            platform_voice_close();
        }
        return;
    }
    SDL_LockMutex(speaker->lock);
    speaker->stopping = true;
    SDL_CondSignal(speaker->wake);
    const Uint32 asked = SDL_GetTicks();
    while (!speaker->finished && SDL_GetTicks() - asked < farewell_ms) {
        SDL_CondWaitTimeout(speaker->wake, speaker->lock, farewell_ms);
    }
    const bool stuck = !speaker->finished;
    speaker->abandoned = stuck;  // the program may be ending by the time it gets free
    SDL_UnlockMutex(speaker->lock);
    if (stuck) {
        SDL_DetachThread(speaker->thread);
        left_stuck = speaker;
    } else {
        SDL_WaitThread(speaker->thread, nullptr);
        end_speaker(speaker);
    }
    speaker = nullptr;
}

bool take_speech_switch(const SDL_Event& event)
{
    const bool key =
        (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && event.key.keysym.sym == SDLK_F2;
    const bool button =
        (event.type == SDL_CONTROLLERBUTTONDOWN || event.type == SDL_CONTROLLERBUTTONUP) &&
        event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK;
    if (!key && !button) {
        return false;
    }
    const bool down = event.type == SDL_KEYDOWN || event.type == SDL_CONTROLLERBUTTONDOWN;
    if (down && !(key && event.key.repeat != 0)) {
        if (speaking) {
            say("Speech off.");
            speaking = false;
        } else {
            speaking = true;
            say("Speech on.");
        }
    }
    return true;
}

bool speech_on()
{
    return speaking;
}

void say_screen(const Focus& focus)
{
    std::string text = std::string(focus.screen) + ". Buttons: ";
    for (std::size_t i = 0; i < focus.buttons.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::string(button_name(*focus.buttons[i]));
    }
    text += ".";
    if (focus_shown() && focus.current < focus.buttons.size()) {
        text += " Focused: " + std::string(button_name(*focus.buttons[focus.current])) + ".";
    }
    tell_screen(focus.screen, text);
}

void say_button(const Button& button)
{
    say(button_name(button));
}

void say_game(const GameView& view)
{
    tell_screen("Game", "Game. A word of " +
                            count(static_cast<int>(view.word.size()), "letter", "letters") + ", " +
                            count(view.tries, "try", "tries") +
                            ". Type a letter, then Space to guess it.");
}

void say_letter(int letter)
{
    say(letter == 0 ? "No letter." : std::string("Letter ") + letter_name(letter) + ".");
}

void say_guess(int letter, Guess outcome, const GameView& view)
{
    const char* verdict = outcome == Guess::found    ? " is in the word. "
                          : outcome == Guess::missed ? " is not in the word. "
                                                     : " was guessed already. ";
    say(letter_name(letter) + std::string(verdict) + progress(view));
}

void say_end(bool won, const GameView& view)
{
    tell_screen(won ? "You won" : "You lost", std::string(won ? "You won! " : "You lost. ") +
                                                  progress(view) +
                                                  " Press any key for the main menu.");
}

}  // namespace hangman
