# Takes away the installation in PREFIX, as its own record lists it (written
# by make install, packaging/installation_record.cmake): its files, then the
# folders it made, once empty. Refuses, with status 1, where PREFIX holds no
# record: nothing there was installed by make install, and nothing is removed.
#
#   cmake -DPREFIX=~/.local [-DRECORD=share/chalk-hangman/installed-files.txt] -P packaging/uninstall.cmake
if(NOT PREFIX)
  message(FATAL_ERROR "Give the prefix to uninstall from: -DPREFIX=<folder>")
endif()
if(NOT RECORD)
  set(RECORD share/chalk-hangman/installed-files.txt)
endif()
cmake_path(ABSOLUTE_PATH PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
# PREFIX=/opt/game/ is the same prefix as /opt/game.
string(REGEX REPLACE "(.)/+$" "\\1" prefix "${prefix}")
cmake_path(ABSOLUTE_PATH RECORD BASE_DIRECTORY "${prefix}" NORMALIZE OUTPUT_VARIABLE record)
if(NOT EXISTS "${record}")
  message(FATAL_ERROR "Nothing to uninstall in ${prefix}: it holds no installation of the "
                      "game (no ${record}, which make install PREFIX=${PREFIX} writes).")
endif()
file(STRINGS "${record}" entries)
set(folders "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^(file|folder) " "" path "${entry}")
  cmake_path(ABSOLUTE_PATH path BASE_DIRECTORY "${prefix}" NORMALIZE)
  if(entry MATCHES "^folder ")
    list(APPEND folders "${path}")
  elseif(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing: ${path}")
    file(REMOVE "${path}")
  endif()
endforeach()
# Deepest first, so that a folder is looked at after the folders inside it;
# only the folders the installation made, and only once empty.
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  file(GLOB left "${folder}/*" "${folder}/.*")
  if(IS_DIRECTORY "${folder}" AND left STREQUAL "")
    file(REMOVE_RECURSE "${folder}")
  endif()
endforeach()
