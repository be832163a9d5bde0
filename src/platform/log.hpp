// The game's one way of writing to the console: printf on standard output,
// with nothing added. Line breaks belong to the message texts themselves.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define LOG_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define LOG_PRINTF_FORMAT
#endif

namespace hangman {

// Prints the formatted text exactly as given: no prefix, no added newline.
void log(const char* format, ...) LOG_PRINTF_FORMAT;

}  // namespace hangman
