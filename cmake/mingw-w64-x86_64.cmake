# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the win32
# thread model, so that no threading DLL is needed). The Windows builds of
# SDL2, SDL2_image and SDL2_ttf are looked for under HANGMAN_WINDOWS_DEPS
# (scripts/build-deps.sh windows makes them).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-win32 ${triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-win32 ${triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres REQUIRED)

# The C and C++ runtimes are linked in: the program needs no mingw DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

if(NOT HANGMAN_WINDOWS_DEPS AND DEFINED ENV{HANGMAN_WINDOWS_DEPS})
  set(HANGMAN_WINDOWS_DEPS "$ENV{HANGMAN_WINDOWS_DEPS}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${HANGMAN_WINDOWS_DEPS})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HANGMAN_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
