// The word bank: the three lists, the random choice and the letter index.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/words.hpp"
#include "support/sdl_hooks.hpp"

using namespace hangman;

namespace {

struct Level {
    int difficulty;
    const char* const* words;
    size_t shortest;
    size_t longest;
};

const Level levels[] = {
    {1, easy_words, 4, 4},
    {2, med_words, 7, 9},
    {3, hard_words, 8, 13},
};

TEST(WordBank, ListsHoldDistinctLowerCaseWordsOfTheirLevelsLength)
{
    std::set<std::string> seen;
    for (const Level& level : levels) {
        for (int slot = 0; slot < words_per_level; ++slot) {
            const std::string word = level.words[slot];
            SCOPED_TRACE("level " + std::to_string(level.difficulty) + " slot " +
                         std::to_string(slot) + " \"" + word + "\"");
            EXPECT_GE(word.size(), level.shortest);
            EXPECT_LE(word.size(), level.longest);
            for (char ch : word) {
                EXPECT_TRUE(ch >= 'a' && ch <= 'z') << "character '" << ch << "'";
            }
            EXPECT_TRUE(seen.insert(word).second) << "occurs twice";
        }
    }
    EXPECT_EQ(75u, seen.size());
    EXPECT_EQ(std::string("alchohol"), med_words[15]) << "the list keeps its own spelling";
}

TEST(WordBank, OneDrawModulo25PicksTheSlot)
{
    struct Case {
        int difficulty;
        int rand_value;
        const char* word;
    };
    const Case cases[] = {
        {1, 0, "frog"},
        {1, 26, "duck"},
        {1, 24, "wine"},
        {2, 40, "alchohol"},
        {2, 25, "notepad"},
        {3, 24, "revolutionary"},
        {3, 2147483647, "synthesizer"},  // 2147483647 % 25 is 22
    };
    for (const Case& c : cases) {
        hooks::random() = hooks::Random{};
        hooks::random().fixed_rand = c.rand_value;
        hooks::random().fixed_time = 1700000000;
        EXPECT_EQ(c.word, pick_word(c.difficulty))
            << "level " << c.difficulty << ", rand() " << c.rand_value;
        EXPECT_EQ(1, hooks::random().rand_calls);
        EXPECT_EQ(std::vector<unsigned>{1700000000u}, hooks::random().seeds)
            << "reseeded with the time in seconds";
    }
}

TEST(WordBank, AnyOtherLevelGivesNothingButStillReseeds)
{
    for (int difficulty : {0, 4, -1, 100}) {
        hooks::random() = hooks::Random{};
        hooks::random().fixed_time = 42;
        EXPECT_EQ("", pick_word(difficulty)) << "level " << difficulty;
        EXPECT_EQ(0, hooks::random().rand_calls) << "level " << difficulty;
        EXPECT_EQ(std::vector<unsigned>{42u}, hooks::random().seeds) << "level " << difficulty;
    }
}

TEST(WordBank, TheSameSecondGivesTheSameSlotAtEveryLevel)
{
    hooks::random() = hooks::Random{};
    hooks::random().fixed_time = 1765000000;
    const std::string easy = pick_word(1);
    EXPECT_EQ(easy, pick_word(1));
    const std::string medium = pick_word(2);
    const std::string hard = pick_word(3);
    int slot = -1;
    for (int s = 0; s < words_per_level; ++s) {
        if (easy == easy_words[s]) {
            slot = s;
        }
    }
    ASSERT_NE(-1, slot) << easy;
    EXPECT_EQ(med_words[slot], medium);
    EXPECT_EQ(hard_words[slot], hard);
}

TEST(WordBank, LetterIndexNumbersOnlyTheLowerCaseLetters)
{
    struct Case {
        char ch;
        int index;
    };
    const Case cases[] = {
        {'a', 1},
        {'m', 13},
        {'z', 26},
        {'A', 0},
        {'Z', 0},
        {'0', 0},
        {'`', 0},
        {'{', 0},
        {'\0', 0},
        {' ', 0},
        {static_cast<char>(128), 0},
        {static_cast<char>(225), 0},
        {static_cast<char>(255), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.index, letter_index(c.ch)) << "character code " << int(c.ch);
    }
    for (char ch = 'a'; ch <= 'z'; ++ch) {
        EXPECT_EQ(ch - 'a' + 1, letter_index(ch)) << ch;
    }
}

}  // namespace
