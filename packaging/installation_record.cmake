# Keeps the record of an installation under its prefix (RECORD, relative to
# it, or absolute): "folder <path>" for each folder it made, "file <path>"
# for each file it put in, each path relative to the prefix, or absolute
# where the installation was given an absolute folder. make uninstall reads
# it (packaging/uninstall.cmake). Run inside `cmake --install` by
# packaging/install.cmake, twice:
#   STEP begin  before any file goes in: notes which of FOLDERS (and the
#               folders above them, up to the prefix) are not there yet;
#               an earlier installation's record keeps the folders it made
#   STEP end    after every file is in: writes the record, with
#               CMAKE_INSTALL_MANIFEST_FILES, the files this run installed
# PENDING is the build's file that carries the folders from one to the other.
set(prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "(.)/+$" "\\1" prefix "${prefix}")
set(destdir "$ENV{DESTDIR}")
# The path as the record keeps it: relative to the prefix where it lies in it.
function(recorded path out)
  string(FIND "${path}" "${prefix}/" at)
  if(at EQUAL 0)
    string(LENGTH "${prefix}/" length)
    string(SUBSTRING "${path}" ${length} -1 path)
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
cmake_path(ABSOLUTE_PATH RECORD BASE_DIRECTORY "${prefix}" NORMALIZE OUTPUT_VARIABLE record_file)

if(STEP STREQUAL "begin")
  set(made "")
  if(EXISTS "${destdir}${record_file}")
    file(STRINGS "${destdir}${record_file}" earlier REGEX "^folder ")
    list(TRANSFORM earlier REPLACE "^folder " "")
    list(APPEND made ${earlier})
  endif()
  foreach(folder IN LISTS FOLDERS)
    cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY "${prefix}" NORMALIZE)
    string(REGEX REPLACE "/+$" "" folder "${folder}")
    while(NOT EXISTS "${destdir}${folder}" AND NOT folder STREQUAL prefix AND NOT folder STREQUAL "/")
      recorded("${folder}" relative)
      list(APPEND made "${relative}")
      cmake_path(GET folder PARENT_PATH folder)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES made)
  list(JOIN made "\n" lines)
  file(WRITE "${PENDING}" "${lines}")
else()
  file(STRINGS "${PENDING}" made)
  file(REMOVE "${PENDING}")
  set(lines "")
  foreach(folder IN LISTS made)
    string(APPEND lines "folder ${folder}\n")
  endforeach()
  foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES record_file)
    string(LENGTH "${destdir}" length)
    if(length GREATER 0)
      string(SUBSTRING "${file}" ${length} -1 file)
    endif()
    recorded("${file}" relative)
    string(APPEND lines "file ${relative}\n")
  endforeach()
  message(STATUS "Recording: ${destdir}${record_file}")
  file(WRITE "${destdir}${record_file}" "${lines}")
endif()
