# The Windows package: one folder, zipped by CPack, that runs wherever it is
# unzipped. The program and the SDL DLLs side by side, the artwork beside
# them, a README for players and the licence of everything shipped. The
# libraries and their licences come from HANGMAN_WINDOWS_DEPS
# (scripts/build-deps.sh windows).
if(NOT HANGMAN_WINDOWS_DEPS OR NOT EXISTS "${HANGMAN_WINDOWS_DEPS}/licenses")
  message(FATAL_ERROR "HANGMAN_WINDOWS_DEPS must name the folder that "
                      "scripts/build-deps.sh windows printed")
endif()

# The program's icon, as Explorer shows it: the artwork's icons in one .ico.
find_program(HANGMAN_CONVERT NAMES convert magick REQUIRED)
set(ico ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.ico)
add_custom_command(
  OUTPUT ${ico}
  COMMAND ${HANGMAN_CONVERT} ${CMAKE_BINARY_DIR}/icons/16.png ${CMAKE_BINARY_DIR}/icons/24.png
          ${CMAKE_BINARY_DIR}/icons/32.png ${CMAKE_BINARY_DIR}/icons/48.png
          ${CMAKE_BINARY_DIR}/icons/64.png ${CMAKE_BINARY_DIR}/icons/256.png ${ico}
  DEPENDS artwork
  COMMENT "Gathering the icons into ${HANGMAN_NAME}.ico")
enable_language(RC)
file(WRITE ${CMAKE_BINARY_DIR}/icon.rc "1 ICON \"${ico}\"\n")
set_source_files_properties(${CMAKE_BINARY_DIR}/icon.rc PROPERTIES OBJECT_DEPENDS ${ico})
target_sources(hangman PRIVATE ${CMAKE_BINARY_DIR}/icon.rc)

target_link_options(hangman PRIVATE $<$<CONFIG:Release>:-s>)  # shipped stripped

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

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${HANGMAN_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${HANGMAN_NAME}-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
