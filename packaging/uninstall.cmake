# Removes what `cmake --install` put in, as its install manifest lists it, and
# then each folder of those files that is left empty, up to the prefix.
#
#   cmake -DMANIFEST=build/release/install_manifest.txt -DPREFIX=~/.local -P packaging/uninstall.cmake
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (make install writes it)")
endif()
cmake_path(ABSOLUTE_PATH PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
# PREFIX=/opt/game/ is the same prefix as /opt/game.
string(REGEX REPLACE "(.)/+$" "\\1" prefix "${prefix}")
file(STRINGS "${MANIFEST}" files)
set(folders "")
foreach(file IN LISTS files)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing: ${file}")
    file(REMOVE "${file}")
  endif()
  cmake_path(GET file PARENT_PATH folder)
  # Every folder between the file and the prefix.
  string(FIND "${folder}" "${prefix}/" at)
  while(at EQUAL 0)
    list(APPEND folders "${folder}")
    cmake_path(GET folder PARENT_PATH folder)
    string(FIND "${folder}" "${prefix}/" at)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES folders)
# Deepest first, so that a folder is looked at after the folders inside it.
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  file(GLOB left "${folder}/*" "${folder}/.*")
  if(IS_DIRECTORY "${folder}" AND left STREQUAL "")
    file(REMOVE_RECURSE "${folder}")
  endif()
endforeach()
