# The Windows package: one folder, zipped by CPack, that runs wherever it is
# unzipped, and an installer of the same folder (the `installer` target). The
# program and the SDL DLLs side by side, the artwork beside them, a README for
# players and the licence of everything shipped. The libraries and their
# licences come from HANGMAN_WINDOWS_DEPS (scripts/build-deps.sh windows).
if(NOT HANGMAN_WINDOWS_DEPS OR NOT EXISTS "${HANGMAN_WINDOWS_DEPS}/licenses")
  message(FATAL_ERROR "HANGMAN_WINDOWS_DEPS must name the folder that "
                      "scripts/build-deps.sh windows printed")
endif()

# The program's resources: its icon as Explorer shows it (the artwork's icons
# in one .ico), its version information and its application manifest.
find_program(HANGMAN_CONVERT NAMES convert magick REQUIRED)
set(HANGMAN_ICO ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.ico)
add_custom_command(
  OUTPUT ${HANGMAN_ICO}
  COMMAND ${HANGMAN_CONVERT} ${HANGMAN_ARTWORK_DIR}/icons/16.png ${HANGMAN_ARTWORK_DIR}/icons/24.png
          ${HANGMAN_ARTWORK_DIR}/icons/32.png ${HANGMAN_ARTWORK_DIR}/icons/48.png
          ${HANGMAN_ARTWORK_DIR}/icons/64.png ${HANGMAN_ARTWORK_DIR}/icons/256.png ${HANGMAN_ICO}
  DEPENDS ${HANGMAN_ICON_FILES}
  COMMENT "Gathering the icons into ${HANGMAN_NAME}.ico")
enable_language(RC)
set(HANGMAN_MANIFEST ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.exe.manifest)
configure_file(packaging/windows/chalk-hangman.exe.manifest.in ${HANGMAN_MANIFEST} @ONLY)
configure_file(packaging/windows/chalk-hangman.rc.in ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.rc PROPERTIES
                            OBJECT_DEPENDS "${HANGMAN_ICO};${HANGMAN_MANIFEST}")
target_sources(hangman PRIVATE ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.rc)

# Shipped stripped, and with no link time in it: one source, the same bytes.
target_link_options(hangman PRIVATE $<$<CONFIG:Release>:-s> -Wl,--no-insert-timestamp)

install(TARGETS hangman RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS SDL2::SDL2 SDL2_image::SDL2_image SDL2_ttf::SDL2_ttf
        DESTINATION .)
install(FILES ${HANGMAN_IMAGE_FILES} DESTINATION pngs)
install(FILES ${HANGMAN_FONT_FILE} ${HANGMAN_FONT_LICENSE_COPY} DESTINATION png)
install(FILES ${HANGMAN_WINDOW_ICON} DESTINATION .)
configure_file(packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
hangman_install_licences(${HANGMAN_WINDOWS_DEPS})

# The installer: the same folder, installed for it and packed by NSIS.
find_program(HANGMAN_MAKENSIS makensis)
set(setup ${HANGMAN_NAME}-${PROJECT_VERSION}-windows-x64-setup.exe)
if(HANGMAN_MAKENSIS)
  set(folder ${CMAKE_BINARY_DIR}/installer/${HANGMAN_NAME})
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${folder}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DNAME=${HANGMAN_NAME} -DVERSION=${PROJECT_VERSION}
            -DOUTPUT=${CMAKE_BINARY_DIR}/${setup}
            -DICON=${HANGMAN_ICO} -DMAKENSIS=${HANGMAN_MAKENSIS}
            -DTEMPLATE=${CMAKE_SOURCE_DIR}/packaging/windows/installer.nsi.in
            -P ${CMAKE_SOURCE_DIR}/packaging/windows/installer.cmake
    DEPENDS hangman
    COMMENT "Making the installer ${setup}"
    VERBATIM)
endif()

hangman_zip(windows-x64)
hangman_release_artefacts(${HANGMAN_ZIP} ${CMAKE_BINARY_DIR}/${setup})
