// Console output for the whole game (see log.hpp).
#include "platform/log.hpp"

#include <cstdarg>
#include <cstdio>

namespace hangman {

void log(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

}  // namespace hangman
