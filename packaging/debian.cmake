# The Debian package, made by `cpack` in a tree configured with HANGMAN_DEBIAN
# (the `package` preset): Debian's layout for games, a copyright file and a
# changelog, a stripped program whose dependencies dpkg-shlibdeps computes
# (and the OpenGL it opens at run time), and the font taken from
# fonts-dejavu-core.

# The maintainer is DEBFULLNAME and DEBEMAIL, as Debian's own tools have it,
# or else the author of the commit built, so that one commit gives one
# package whoever builds it.
find_package(Git QUIET)
set(parts name email)
set(variables DEBFULLNAME DEBEMAIL)
set(formats %an %ae)
foreach(part variable format IN ZIP_LISTS parts variables formats)
  set(maintainer_${part} "$ENV{${variable}}")
  if(GIT_FOUND AND maintainer_${part} STREQUAL "")
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=${format}
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE maintainer_${part}
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endforeach()
if(maintainer_name STREQUAL "" OR maintainer_email STREQUAL "")
  message(FATAL_ERROR "The package needs a maintainer: set DEBFULLNAME and DEBEMAIL "
                      "(outside a git checkout)")
endif()
set(HANGMAN_MAINTAINER "${maintainer_name} <${maintainer_email}>" CACHE STRING
    "Maintainer of the Debian package")

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${HANGMAN_NAME})
configure_file(packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
hangman_gzip(debian_changelog ${CMAKE_BINARY_DIR}/debian/changelog changelog)
install(FILES packaging/debian/copyright ${changelog} DESTINATION ${doc_dir})

# The program is stripped as dh_strip strips it.
install(CODE "
  set(program [[${HANGMAN_INSTALL_PROGRAMDIR}/${HANGMAN_NAME}]])
  cmake_path(ABSOLUTE_PATH program BASE_DIRECTORY \"\${CMAKE_INSTALL_PREFIX}\" NORMALIZE)
  execute_process(COMMAND [[${CMAKE_STRIP}]] --remove-section=.comment --remove-section=.note
                          --strip-unneeded \"\$ENV{DESTDIR}\${program}\" COMMAND_ERROR_IS_FATAL ANY)
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${HANGMAN_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_DEBIAN_FILE_NAME ${HANGMAN_NAME}_${PROJECT_VERSION}_${architecture}.deb)
hangman_release_artefacts(${CMAKE_BINARY_DIR}/${CPACK_DEBIAN_FILE_NAME})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${HANGMAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens OpenGL at run time, so dpkg-shlibdeps cannot see it: the renderer
# needs the GL dispatch libraries, libGL.so.1 for GLX on X11 and libEGL.so.1
# on Wayland, whose own dependencies bring Mesa's drivers.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libgl1, libegl1")
# Speech for players who cannot see the game: the game loads speech-dispatcher's
# client library when it first speaks, and plays silently without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libspeechd2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "speech-dispatcher")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "guess the hidden word before the figure is complete")
set(CPACK_PACKAGE_DESCRIPTION
    "A small single-player word-guessing game. A word is hidden behind blank
tiles; guess its letters one at a time. A letter that occurs in the word is
revealed wherever it stands; a new letter that does not occur costs one of
six tries and adds a stage to the figure on the gallows.

Three levels draw their words from built-in lists of four, seven to nine,
and eight to thirteen letters. The menus are played with the mouse and the
game with the keyboard. The command is chalk-hangman, so that it installs
beside the BSD games' hangman.")
include(CPack)
