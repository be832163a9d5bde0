# Installation. On Linux and the like: the program in a folder of its own, its
# images, font and window icon in a data folder, a launcher that starts the
# program there (the game reads its files relative to the working directory),
# the manual page, the desktop entry (which names the launcher by its full
# path), the AppStream metainfo and the icons.
# With HANGMAN_DEBIAN, the layout of the Debian package, which debian/rules
# builds. On Windows: one folder to zip (packaging/windows.cmake); on the
# web: the site (packaging/web.cmake).
include(GNUInstallDirs)

set(HANGMAN_APPSTREAM_ID io.github.chalk_hangman.chalk_hangman)
option(HANGMAN_DEBIAN "Install in the Debian package's layout (debian/rules sets it)" OFF)

# The licence of the game, of its font, and of the libraries built into it
# (the licenses/ folder of scripts/build-deps.sh's prefix), gathered in the
# build folder's licences/ and installed from there.
function(hangman_install_licences deps)
  set(folder ${CMAKE_BINARY_DIR}/licences)
  configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${folder}/Chalk-Hangman.txt COPYONLY)
  configure_file(${HANGMAN_FONT_LICENSE} ${folder}/DejaVu-fonts.txt COPYONLY)
  file(GLOB licences ${deps}/licenses/*)
  foreach(licence IN LISTS licences)
    get_filename_component(file ${licence} NAME)
    configure_file(${licence} ${folder}/${file} COPYONLY)
  endforeach()
  install(DIRECTORY ${folder}/ DESTINATION licences
          FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

# What this build makes for a release, in <build>/release.txt, which
# scripts/release.sh reads: the release's name and version as its first line,
# then the files, one a line.
function(hangman_release_artefacts)
  list(JOIN ARGN "\n" files)
  file(WRITE ${CMAKE_BINARY_DIR}/release.txt "${HANGMAN_NAME}-${PROJECT_VERSION}\n${files}\n")
endfunction()

# The installation as a zip, <name>-<version>-<suffix>.zip with one folder of
# the same name (cpack); HANGMAN_ZIP is its path.
macro(hangman_zip suffix)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME ${HANGMAN_NAME})
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_FILE_NAME ${HANGMAN_NAME}-${PROJECT_VERSION}-${suffix})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(HANGMAN_ZIP ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.zip)
  include(CPack)
endmacro()

if(WIN32)
  include(packaging/windows.cmake)
  return()
endif()
if(EMSCRIPTEN)
  include(packaging/web.cmake)
  return()
endif()

if(HANGMAN_DEBIAN)
  set(bindir games)
  set(programdir lib/games/${HANGMAN_NAME})
  set(datadir ${CMAKE_INSTALL_DATADIR}/games/${HANGMAN_NAME})
else()
  set(bindir ${CMAKE_INSTALL_BINDIR})
  set(programdir ${CMAKE_INSTALL_LIBEXECDIR}/${HANGMAN_NAME})
  set(datadir ${CMAKE_INSTALL_DATADIR}/${HANGMAN_NAME})
endif()
set(HANGMAN_INSTALL_BINDIR ${bindir} CACHE STRING
    "Folder of the command that starts the game (relative to the prefix, or absolute)")
set(HANGMAN_INSTALL_PROGRAMDIR ${programdir} CACHE STRING
    "Folder of the program itself (relative to the prefix, or absolute)")
set(HANGMAN_INSTALL_DATADIR ${datadir} CACHE STRING
    "Folder of the game's images, font and window icon (relative to the prefix, or absolute)")
option(HANGMAN_SYSTEM_FONT "Install a link to the system's DejaVu Sans Mono instead of a copy"
       ${HANGMAN_DEBIAN})

# An installation that is not the Debian package keeps its own record under
# the prefix, for `make uninstall`: the folders it made, noted before any
# file goes in, and at the end every file it put there
# (packaging/installation_record.cmake, packaging/uninstall.cmake).
if(NOT HANGMAN_DEBIAN)
  set(HANGMAN_INSTALL_RECORD ${HANGMAN_INSTALL_DATADIR}/installed-files.txt)
  set(record_folders ${HANGMAN_INSTALL_BINDIR} ${HANGMAN_INSTALL_PROGRAMDIR}
      ${HANGMAN_INSTALL_DATADIR}/pngs ${HANGMAN_INSTALL_DATADIR}/png
      ${CMAKE_INSTALL_DATADIR}/applications ${CMAKE_INSTALL_MANDIR}/man6
      ${CMAKE_INSTALL_DATADIR}/metainfo ${CMAKE_INSTALL_DOCDIR})
  foreach(size IN LISTS HANGMAN_ICON_SIZES)
    list(APPEND record_folders ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(CODE "
    set(RECORD [[${HANGMAN_INSTALL_RECORD}]])
    set(FOLDERS [[${record_folders}]])
    set(PENDING [[${CMAKE_BINARY_DIR}/installation-record-folders.txt]])
    set(STEP begin)
    include([[${CMAKE_CURRENT_SOURCE_DIR}/packaging/installation_record.cmake]])
  ")
endif()

install(TARGETS hangman RUNTIME DESTINATION ${HANGMAN_INSTALL_PROGRAMDIR})
install(FILES ${HANGMAN_IMAGE_FILES} DESTINATION ${HANGMAN_INSTALL_DATADIR}/pngs)
install(FILES ${HANGMAN_WINDOW_ICON} DESTINATION ${HANGMAN_INSTALL_DATADIR})

if(HANGMAN_SYSTEM_FONT)
  # A link, relative when both ends share their top folder (Debian's rule).
  set(font_target ${HANGMAN_FONT_DIR}/DejaVuSansMono.ttf)
  install(CODE "
    set(data [[${HANGMAN_INSTALL_DATADIR}]])
    cmake_path(ABSOLUTE_PATH data BASE_DIRECTORY \"\${CMAKE_INSTALL_PREFIX}\" NORMALIZE)
    string(REGEX MATCH [[^/[^/]*]] data_top \"\${data}\")
    string(REGEX MATCH [[^/[^/]*]] font_top [[${font_target}]])
    set(target [[${font_target}]])
    if(data_top STREQUAL font_top)
      file(RELATIVE_PATH target \"\${data}/png\" [[${font_target}]])
    endif()
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${data}/png\")
    message(STATUS \"Linking: \$ENV{DESTDIR}\${data}/png/AtariST8x16SystemFont.ttf -> \${target}\")
    file(CREATE_LINK \"\${target}\" \"\$ENV{DESTDIR}\${data}/png/AtariST8x16SystemFont.ttf\" SYMBOLIC)
  ")
else()
  install(FILES ${HANGMAN_FONT_FILE} ${HANGMAN_FONT_LICENSE_COPY}
          DESTINATION ${HANGMAN_INSTALL_DATADIR}/png)
endif()

# The launcher, the desktop entry and the manual page are written at install
# time, for the prefix installed into.
find_program(HANGMAN_GZIP gzip)
set(manual ${CMAKE_BINARY_DIR}/launcher/${HANGMAN_NAME}.6)
if(HANGMAN_GZIP)
  string(APPEND manual .gz)
endif()
install(CODE "
  set(LAUNCHER_TEMPLATE [[${CMAKE_CURRENT_SOURCE_DIR}/packaging/launcher.sh.in]])
  set(LAUNCHER_OUTPUT [[${CMAKE_BINARY_DIR}/launcher/${HANGMAN_NAME}]])
  set(LAUNCHER_NAME ${HANGMAN_NAME})
  set(LAUNCHER_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  set(LAUNCHER_BINDIR [[${HANGMAN_INSTALL_BINDIR}]])
  set(LAUNCHER_PROGRAMDIR [[${HANGMAN_INSTALL_PROGRAMDIR}]])
  set(LAUNCHER_DATADIR [[${HANGMAN_INSTALL_DATADIR}]])
  set(DESKTOP_TEMPLATE [[${CMAKE_CURRENT_SOURCE_DIR}/packaging/${HANGMAN_NAME}.desktop.in]])
  set(DESKTOP_OUTPUT [[${CMAKE_BINARY_DIR}/launcher/${HANGMAN_NAME}.desktop]])
  set(MANUAL_TEMPLATE [[${CMAKE_CURRENT_SOURCE_DIR}/packaging/${HANGMAN_NAME}.6.in]])
  set(MANUAL_OUTPUT [[${manual}]])
  set(MANUAL_VERSION ${PROJECT_VERSION})
  set(GZIP [[${HANGMAN_GZIP}]])
  include([[${CMAKE_CURRENT_SOURCE_DIR}/packaging/write_launcher.cmake]])
")
install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/${HANGMAN_NAME} DESTINATION ${HANGMAN_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/launcher/${HANGMAN_NAME}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# Compresses `file` as Debian wants it (gzip -9n), in a target `target` built
# with everything; sets `out` to the file to install: the compressed one, or
# `file` itself where there is no gzip.
function(hangman_gzip target file out)
  if(NOT HANGMAN_GZIP)
    set(${out} ${file} PARENT_SCOPE)
    return()
  endif()
  cmake_path(GET file FILENAME name)
  set(compressed ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
    COMMAND ${HANGMAN_GZIP} -9 -n -c ${file} > ${compressed}
    DEPENDS ${file}
    COMMENT "Compressing ${name}")
  add_custom_target(${target} ALL DEPENDS ${compressed})
  set(${out} ${compressed} PARENT_SCOPE)
endfunction()

# Desktop integration (the desktop entry is written with the launcher).
configure_file(packaging/${HANGMAN_APPSTREAM_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${HANGMAN_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${HANGMAN_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS HANGMAN_ICON_SIZES)
  install(FILES ${HANGMAN_ARTWORK_DIR}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${HANGMAN_NAME}.png)
endforeach()

# The Debian package's copyright and changelog are debhelper's (debian/).
if(NOT HANGMAN_DEBIAN)
  install(FILES LICENSE README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # Last of all: the record of the files.
  install(CODE "
    set(RECORD [[${HANGMAN_INSTALL_RECORD}]])
    set(PENDING [[${CMAKE_BINARY_DIR}/installation-record-folders.txt]])
    set(STEP end)
    include([[${CMAKE_CURRENT_SOURCE_DIR}/packaging/installation_record.cmake]])
  ")
endif()
