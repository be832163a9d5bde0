// The game's words for what it shows (see describe.hpp).
#include "access/describe.hpp"

#include "gfx/media.hpp"

namespace hangman {

namespace {

constexpr const char* dev_mode_does =
    "Prints the secret word and every button press on the console, and shows a sprite test on "
    "the main menu.";

}  // namespace

ButtonWords words_of(const Button& button)
{
    const struct {
        const Button* button;
        ButtonWords words;
    } table[] = {
        {&start_button, {"Start", "", false}},
        {&options_button, {"Options", "", false}},
        {&easy_button, {"Easy", "4 letters", false}},
        {&med_button, {"Medium", "7 to 9 letters", false}},
        {&hard_button, {"Hard", "8 to 13 letters", false}},
        {&back_button, {"Back", "", false}},
        {&dev_mode_button, {"Developer mode", dev_mode_does, true}},
    };
    for (const auto& entry : table) {
        if (entry.button == &button) {
            return entry.words;
        }
    }
    return {"", "", false};
}

bool switched_on(const Button& button)
{
    return &button == &dev_mode_button && dev_mode;
}

std::string button_text(const Button& button)
{
    const ButtonWords words = words_of(button);
    if (words.toggle) {
        return std::string(words.name) + ", switch, " + (switched_on(button) ? "on" : "off") +
               ". " + words.description;
    }
    std::string text = std::string(words.name) + ", button";
    if (*words.description != '\0') {
        text += std::string(", ") + words.description;
    }
    return text;
}

char letter_name(int letter)
{
    return static_cast<char>('A' + letter - 1);
}

std::string count(int number, const char* one, const char* many)
{
    return std::to_string(number) + " " + (number == 1 ? one : many);
}

std::string word_text(const GameView& view)
{
    // Each letter by name or as "blank", spaced; a run of unknown letters
    // said as its count stands apart with commas.
    std::string text = "The word:";
    bool after_run = false;
    const std::size_t length = view.word.size();
    for (std::size_t i = 0; i < length;) {
        std::size_t run = 0;
        while (i + run < length &&
               (i + run >= view.revealed.size() || view.revealed[i + run] == 0)) {
            ++run;
        }
        const bool counted = run >= 3;
        text += (i == 0 ? " " : (counted || after_run ? ", " : " "));
        if (counted) {
            text += count(static_cast<int>(run), "unknown letter", "unknown letters");
            i += run;
        } else if (run > 0) {
            text += "blank";
            ++i;
        } else {
            text += static_cast<char>(view.word[i] - 'a' + 'A');
            ++i;
        }
        after_run = counted;
    }
    return text;
}

std::string found_text(const GameView& view)
{
    int found = 0;
    for (std::size_t i = 0; i < view.word.size() && i < view.revealed.size(); ++i) {
        found += view.revealed[i] != 0 ? 1 : 0;
    }
    return std::to_string(found) + " of " +
           count(static_cast<int>(view.word.size()), "letter", "letters") + " found";
}

std::string tries_text(const GameView& view)
{
    return count(view.tries, "try", "tries") + " left";
}

std::string guessed_text(const GameView& view)
{
    if (view.guess_count == 0) {
        return "Nothing guessed yet";
    }
    std::string text = "Guessed: ";
    for (int i = 0; i < view.guess_count; ++i) {
        text += (i == 0 ? "" : ", ") + std::string(1, letter_name(view.guessed[i]));
    }
    return text;
}

std::string staged_text(const GameView& view)
{
    return view.staged == 0 ? "No letter chosen"
                            : std::string("Your letter: ") + letter_name(view.staged);
}

}  // namespace hangman
