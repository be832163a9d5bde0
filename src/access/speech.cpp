// What the game says, and when (see speech.hpp). A text is said once the
// frame that shows what it tells has been presented. The game's own voice
// speaks on a thread of its own, in order, so that a slow or stuck speech
// server never holds up a frame; where there are no threads (the web page)
// the texts go at once.
#include "access/speech.hpp"

#include <cstring>
#include <deque>
#include <vector>

#include "access/input.hpp"
#include "access/tree.hpp"
#include "gfx/frame.hpp"
#include "platform/platform.hpp"
#include "platform/settings.hpp"
#include "platform/tree.hpp"

namespace hangman {

namespace {

// Texts not yet spoken when more arrive are dropped, oldest first: each new
// text would cut them short anyway.
constexpr std::size_t most_waiting = 1000;
// How long shutdown waits for the speaking thread to say what is left; one
// stuck in a speech server that never answers is left behind, and ends with
// the program.
constexpr Uint32 farewell_ms = 1000;

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

// Whether the game speaks with its own voice: as chosen (by HANGMAN_SPEECH
// or F2), or else where a screen reader runs that cannot read the tree.
struct Voice {
    bool chosen = false;
    bool choice = false;
    bool by_setting = false;  // HANGMAN_SPEECH chose: no screen reader takes it back
    bool reader = false;      // a screen reader ran, when last looked
};
Voice voice;

bool own_voice()
{
    return voice.chosen ? voice.choice : voice.reader && !platform_tree_served();
}

// A text said, how many frames had been presented then (it is spoken once
// the frame after those is), and whether the tree shows it itself.
struct Unsaid {
    std::string text;
    unsigned long frame;
    bool shown_by_tree;
};
std::vector<Unsaid> unsaid;
bool closing = false;     // the window's close was requested: nothing more is said
bool tell_where = false;  // the own voice was just switched on: say where the player is
std::string end_text;     // what the end picture in view says, or nothing
bool gave_way = false;    // said "Speech off.": that is the last the own voice says

// Keeps the text to be said once the frame that shows it is out.
void say(std::string text, bool shown_by_tree = false)
{
    if (!closing && (own_voice() || gave_way || platform_tree_served())) {
        unsaid.push_back({std::move(text), frames_presented(), shown_by_tree});
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

// Tells the web page which screen shows; true when it has just come into
// view (and was not told yet).
bool new_screen(const char* screen)
{
    if (told != nullptr && std::strcmp(told, screen) == 0) {
        return false;
    }
    told = screen;
    end_text.clear();
    platform_screen(screen);
    return true;
}

// A screen reader that came or went takes back what F2 chose.
void follow_screen_reader()
{
    const bool reader = platform_screen_reader();
    if (reader != voice.reader && !voice.by_setting) {
        voice.chosen = false;
    }
    voice.reader = reader;
}

// "Press any key for the main menu.", or a button on a controller.
const char* how_to_go_on()
{
    return pressed_by_controller() ? "Press any button for the main menu."
                                   : "Press any key for the main menu.";
}

// "The word: F, 3 unknown letters, 1 of 5 letters found. 5 tries left."
std::string progress(const GameView& view)
{
    return word_text(view) + ", " + found_text(view) + ". " + tries_text(view) + ".";
}

}  // namespace

void start_speech()
{
    told = nullptr;
    closing = false;
    tell_where = false;
    end_text.clear();
    gave_way = false;
    voice = Voice{};
    voice.by_setting = setting("HANGMAN_SPEECH", voice.choice);
    voice.chosen = voice.by_setting;
    voice.reader = platform_screen_reader();
    start_tree();
}

void speak_shown(bool waiting)
{
    follow_screen_reader();
    // Asleep, nothing more is drawn: what was said is on screen already.
    const unsigned long presented = waiting ? frames_presented() + 1 : frames_presented();
    const bool own = own_voice() || gave_way;
    const bool tree = platform_tree_served();
    std::size_t shown = 0;
    for (; shown < unsaid.size() && unsaid[shown].frame < presented; ++shown) {
        if (own) {
            speak(unsaid[shown].text);
        }
        if (tree && !unsaid[shown].shown_by_tree) {
            platform_tree_announce(unsaid[shown].text);
        }
    }
    unsaid.erase(unsaid.begin(), unsaid.begin() + static_cast<long>(shown));
    gave_way = gave_way && !unsaid.empty();
    tree_shown();
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
    stop_tree();
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
        const bool on = !own_voice();
        voice.chosen = true;
        voice.choice = on;
        voice.by_setting = false;
        if (on && !end_text.empty()) {
            say("Speech on. " + end_text, true);  // nothing is drawn until a key
        } else if (on) {
            say("Speech on.", true);
            tell_where = true;
        } else {
            gave_way = true;  // the own voice says this much still
            say("Speech off.", true);
        }
    }
    return true;
}

bool speech_on()
{
    return own_voice();
}

void say_screen(const Focus& focus)
{
    tree_menu(focus);
    const bool focused = focus_shown() && focus.current < focus.buttons.size();
    if (!new_screen(focus.screen) && !tell_where) {
        return;
    }
    std::string text = std::string(focus.screen) + ".";
    if (!tell_where) {
        // "Buttons: Start, Options.", or with what each holds, "Easy, 4
        // letters; Medium, 7 to 9 letters; ...".
        bool described = false;
        for (const Button* button : focus.buttons) {
            described = described || (!words_of(*button).toggle && *words_of(*button).description);
        }
        text += " Buttons: ";
        for (std::size_t i = 0; i < focus.buttons.size(); ++i) {
            const ButtonWords words = words_of(*focus.buttons[i]);
            text += (i == 0 ? "" : (described ? "; " : ", ")) + std::string(words.name);
            if (!words.toggle && *words.description != '\0') {
                text += std::string(", ") + words.description;
            }
        }
        text += ".";
    }
    if (focused || tell_where) {
        const std::string button = button_text(*focus.buttons[focus.current]);
        text += " Focused: " + button + (button.back() == '.' ? "" : ".");
    }
    tell_where = false;
    say(text, true);
}

void say_button(const Button& button)
{
    say(button_text(button), true);
}

void say_switch(const Button& button)
{
    say(std::string(words_of(button).name) + ", switch, " + (switched_on(button) ? "on." : "off."),
        true);
}

void say_game(const GameView& view)
{
    new_screen("Game");
    say("Game. A word of " + count(static_cast<int>(view.word.size()), "letter", "letters") + ", " +
        count(view.tries, "try", "tries") + ". " +
        (pressed_by_controller() ? "Choose a letter with up and down, then press A to guess it."
                                 : "Type a letter, then Space to guess it."));
}

void show_game(const GameView& view)
{
    tree_game(view);
    if (tell_where) {
        tell_where = false;
        say("Game. " + word_text(view) + ". " + tries_text(view) + ". " + staged_text(view) + ".",
            true);
    }
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

void say_state(const GameView& view)
{
    say(progress(view) + " " + guessed_text(view) + ". " + staged_text(view) + ".");
}

void say_end(bool won, const GameView& view)
{
    tree_end(won, view);
    if (new_screen(won ? "You won" : "You lost")) {
        tell_where = false;
        end_text =
            std::string(won ? "You won! " : "You lost. ") + progress(view) + " " + how_to_go_on();
        say(end_text);
    }
}

}  // namespace hangman
