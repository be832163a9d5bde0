# The web site: the game compiled to WebAssembly by Emscripten and started by
# a page of our own (packaging/web/index.html.in) that downloads it with a
# progress bar, shows its console, and says what went wrong when it cannot
# run. `cmake --install` puts the site into the prefix (make web: build/web/).
#
# The screens loop and block as they do on the desktop: Asyncify lets their
# sleeps, presents and event waits hand the thread back to the browser.
if(NOT HANGMAN_WEB_DEPS OR NOT EXISTS "${HANGMAN_WEB_DEPS}/licenses")
  message(FATAL_ERROR "HANGMAN_WEB_DEPS must name the folder that "
                      "scripts/build-deps.sh web printed")
endif()
find_program(HANGMAN_FILE_PACKAGER file_packager PATHS ${EMSCRIPTEN_ROOT_PATH}/tools
             NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(HANGMAN_PYFTSUBSET pyftsubset NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# The game opens its font but never draws with it: printable ASCII is plenty.
set(web_font ${CMAKE_BINARY_DIR}/web-font/AtariST8x16SystemFont.ttf)
add_custom_command(
  OUTPUT ${web_font}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web-font
  COMMAND ${HANGMAN_PYFTSUBSET} ${HANGMAN_FONT_DIR}/DejaVuSansMono.ttf --unicodes=U+0020-007E
          --output-file=${web_font}
  COMMENT "Cutting the font down to printable ASCII")

# The files the game reads, packed into one download. The packager is given
# each file by name, so the package's order is the same on every machine.
# It is given relative paths only, so that no folder of this machine enters it.
file(RELATIVE_PATH artwork ${CMAKE_BINARY_DIR} ${HANGMAN_ARTWORK_DIR})
set(data_files)
foreach(image IN LISTS HANGMAN_IMAGES)
  list(APPEND data_files ${artwork}/pngs/${image}@/pngs/${image})
endforeach()
list(APPEND data_files web-font/AtariST8x16SystemFont.ttf@/png/AtariST8x16SystemFont.ttf)
set(data ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.data)
set(data_js ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.data.js)
add_custom_command(
  OUTPUT ${data} ${data_js} ${data_js}.metadata
  COMMAND ${HANGMAN_FILE_PACKAGER} ${HANGMAN_NAME}.data --preload ${data_files}
          --js-output=${HANGMAN_NAME}.data.js --separate-metadata --no-node
  COMMAND ${CMAKE_COMMAND} -DDATA=${data} -DMETADATA=${data_js}.metadata
          -P ${CMAKE_SOURCE_DIR}/packaging/web/package_id.cmake
  DEPENDS ${HANGMAN_IMAGE_FILES} ${web_font} ${CMAKE_SOURCE_DIR}/packaging/web/package_id.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing the images and the font")
add_custom_target(web_data DEPENDS ${data} ${data_js})

# Links `target` as a program of the site, and writes `page`, which starts it
# with `arguments` (a JavaScript array), in a target `<target>_page`; `all` is
# ALL where the page belongs to the default build, or empty.
function(hangman_web_program target page arguments all)
  set_target_properties(${target} PROPERTIES SUFFIX .js LINK_DEPENDS ${data_js})
  add_dependencies(${target} web_data)
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web
    -sFORCE_FILESYSTEM -sEXIT_RUNTIME
    -sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency,FS_createPath,FS_createDataFile,FS_createPreloadedFile]
    "SHELL:--pre-js ${data_js}")
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(template ${CMAKE_SOURCE_DIR}/packaging/web/index.html.in)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${page}
    COMMAND ${CMAKE_COMMAND} -DSITE=${CMAKE_BINARY_DIR} -DPROGRAM=${name}
            -DDATA=${HANGMAN_NAME}.data "-DARGUMENTS=${arguments}" -DVERSION=${PROJECT_VERSION}
            -DTEMPLATE=${template} -DPAGE=${CMAKE_BINARY_DIR}/${page}
            -P ${CMAKE_SOURCE_DIR}/packaging/web/page.cmake
    DEPENDS ${target} ${template} ${CMAKE_SOURCE_DIR}/packaging/web/page.cmake
    COMMENT "Writing ${page}"
    VERBATIM)
  add_custom_target(${target}_page ${all} DEPENDS ${CMAKE_BINARY_DIR}/${page})
endfunction()

hangman_web_program(hangman index.html "[]" ALL)

# The benchmarks' floor page: the bare SDL program of bench/baseline.cpp,
# built, packed and started the same way, drawing the menu's frame
# (make bench-web builds it).
add_executable(floor EXCLUDE_FROM_ALL bench/baseline.cpp)
target_link_libraries(floor PRIVATE SDL2::SDL2 SDL2_image::SDL2_image)
hangman_web_program(floor floor.html "[\"menu\"]" "")

install(FILES ${CMAKE_BINARY_DIR}/index.html ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.js
              ${CMAKE_BINARY_DIR}/${HANGMAN_NAME}.wasm ${data} ${data_js}.metadata
        DESTINATION .)
install(FILES ${HANGMAN_WINDOW_ICON} DESTINATION .)  # the page's icon
hangman_install_licences(${HANGMAN_WEB_DEPS})

hangman_zip(web)
hangman_release_artefacts(${HANGMAN_ZIP})
