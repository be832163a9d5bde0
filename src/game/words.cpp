// The word lists and the random choice of a secret word (see words.hpp).
#include "game/words.hpp"

#include <cstdlib>
#include <ctime>

namespace hangman {

const char* const easy_words[words_per_level] = {
    "frog", "duck", "sumo", "list", "suck", "jazz", "iron", "neck", "exit",
    "fork", "fast", "bird", "room", "wolf", "trap", "nest", "free", "vote",
    "baby", "poem", "time", "lace", "echo", "wild", "wine",
};

const char* const med_words[words_per_level] = {
    "notepad", "desktop",  "swimmer", "wallpaper", "computer", "concept", "victory",
    "partner", "morning",  "revenge", "captain",   "freckle",  "default", "nuclear",
    "sweater", "alchohol", "gallery", "sunrise",   "factory",  "lighter", "royalty",
    "harmony", "missile",  "pottery", "diagram",
};

const char* const hard_words[words_per_level] = {
    "dictionary",    "algorithm",     "calculator",  "sketchbook",   "equation",
    "reproduction",  "conglomerate",  "experienced", "application",  "personality",
    "comprehensive", "constellation", "institution", "hypothesize",  "temperature",
    "countryside",   "intelligence",  "environment", "neighborhood", "anticipation",
    "electronics",   "sympathetic",   "synthesizer", "battlefield",  "revolutionary",
};

std::string pick_word(int difficulty)
{
    // Reseeded at every call, before the level is looked at.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    const char* const* words = nullptr;
    switch (difficulty) {
        case 1:
            words = easy_words;
            break;
        case 2:
            words = med_words;
            break;
        case 3:
            words = hard_words;
            break;
        default:
            return std::string();
    }
    return words[std::rand() % words_per_level];
}

int letter_index(char ch)
{
    const int offset = static_cast<signed char>(ch) - 'a';
    return (offset >= 0 && offset < 26) ? offset + 1 : 0;
}

}  // namespace hangman
