// The word bank: three fixed lists of secret words, one per difficulty level,
// the random choice of a word, and the letter index (0 none, 1 to 26 a to z).
#pragma once

#include <string>

namespace hangman {

constexpr int words_per_level = 25;

extern const char* const easy_words[words_per_level];  // difficulty 1: four letters
extern const char* const med_words[words_per_level];   // difficulty 2: seven to nine
extern const char* const hard_words[words_per_level];  // difficulty 3: eight to thirteen

// Reseeds rand() with the time in seconds and returns a random word of the
// level (1 easy, 2 medium, 3 hard); the empty string for any other level.
std::string pick_word(int difficulty);

// 1 to 26 for 'a' to 'z', 0 for every other character.
int letter_index(char ch);

}  // namespace hangman
