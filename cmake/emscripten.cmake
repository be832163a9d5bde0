# Building for the web with Debian's Emscripten: its own toolchain file, and
# the libraries looked for under HANGMAN_WEB_DEPS first
# (scripts/build-deps.sh web makes them).
execute_process(COMMAND em-config EMSCRIPTEN_ROOT OUTPUT_VARIABLE emscripten_root
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
include(${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)

if(NOT HANGMAN_WEB_DEPS AND DEFINED ENV{HANGMAN_WEB_DEPS})
  set(HANGMAN_WEB_DEPS "$ENV{HANGMAN_WEB_DEPS}")
endif()
# First, before the sysroot: its SDL2 package would bring the download-based port.
list(PREPEND CMAKE_FIND_ROOT_PATH ${HANGMAN_WEB_DEPS})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HANGMAN_WEB_DEPS)

# Emscripten's linker runs JavaScript tools with the machine's node, which
# may not be Debian's; Debian keeps the modules they need in /usr/share/nodejs.
# The configure checks (here and in the libraries' builds) and every link
# get it: this is the one place that says so.
if(NOT DEFINED ENV{NODE_PATH} AND EXISTS /usr/share/nodejs)
  set(ENV{NODE_PATH} /usr/share/nodejs)
  set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
