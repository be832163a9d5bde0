# Makes the Windows installer from an installed folder: writes its NSIS
# script from installer.nsi.in, with one line per file to install and to
# take away again, in a fixed order, and the installed size; then runs
# makensis.
#
#   cmake -DFOLDER=<installed folder> -DOUTPUT=<installer to write>
#         -DNAME=<program name> -DVERSION=<version> -DICON=<the .ico>
#         -DTEMPLATE=<installer.nsi.in> -DMAKENSIS=<makensis> -P installer.cmake
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${FOLDER} ${FOLDER}/*)
list(SORT files)
set(INSTALL_FILES "")
set(DELETE_FILES "")
set(folders "")
set(size 0)
set(current_folder "-")
foreach(file IN LISTS files)
  cmake_path(GET file PARENT_PATH folder)
  string(REPLACE "/" "\\" windows_folder "${folder}")
  string(REPLACE "/" "\\" windows_file "${file}")
  if(NOT folder STREQUAL current_folder)
    if(folder STREQUAL "")
      string(APPEND INSTALL_FILES "  SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND INSTALL_FILES "  SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
    endif()
    set(current_folder "${folder}")
    # Every folder on the way, to be taken away deepest first.
    while(NOT folder STREQUAL "")
      list(APPEND folders "${folder}")
      cmake_path(GET folder PARENT_PATH folder)
    endwhile()
  endif()
  string(APPEND INSTALL_FILES "  File \"${FOLDER}/${file}\"\n")
  string(APPEND DELETE_FILES "  Delete \"$INSTDIR\\${windows_file}\"\n")
  file(SIZE ${FOLDER}/${file} bytes)
  math(EXPR size "${size} + ${bytes}")
endforeach()

list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
set(DELETE_FOLDERS "")
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" windows_folder "${folder}")
  string(APPEND DELETE_FOLDERS "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
math(EXPR SIZE_KB "(${size} + 1023) / 1024")

set(HANGMAN_NAME ${NAME})
cmake_path(GET OUTPUT PARENT_PATH output_folder)
get_filename_component(script ${OUTPUT} NAME_WLE)
configure_file(${TEMPLATE} ${output_folder}/${script}.nsi @ONLY)
execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 ${output_folder}/${script}.nsi
                COMMAND_ERROR_IS_FATAL ANY)
