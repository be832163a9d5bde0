# The web site: the game compiled to WebAssembly by Emscripten and started by
# a page of our own (packaging/web/index.html.in) that downloads it with a
# progress bar, shows its console, and says what went wrong when it cannot
# run. `cmake --install` puts the site into the prefix (make web: build/web/).
#
# The screens loop and block as they do on the desktop: Asyncify lets their
# sleeps, presents and event waits hand the thread back to the browser.
#
# The game page is also an installable web app (manifest.webmanifest, its
# icons) with a service worker (sw.js) that keeps the site for play without
# the network.
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
  COMMAND ${CMAKE_COMMAND} -DDATA=${data} -DMETADATA=${data_js}.metadata -DDATA_JS=${data_js}
          -P ${CMAKE_SOURCE_DIR}/packaging/web/package_id.cmake
  DEPENDS ${HANGMAN_IMAGE_FILES} ${web_font} ${CMAKE_SOURCE_DIR}/packaging/web/package_id.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing the images and the font")
add_custom_target(web_data DEPENDS ${data} ${data_js})
add_dependencies(web_data artwork)

# The web app's manifest and icons, beside the page.
set(web_app_files manifest.webmanifest icon.png icon-192.png icon-512.png)
configure_file(${CMAKE_SOURCE_DIR}/packaging/web/manifest.webmanifest.in
               ${CMAKE_BINARY_DIR}/manifest.webmanifest COPYONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/icon.png ${CMAKE_BINARY_DIR}/icon-192.png ${CMAKE_BINARY_DIR}/icon-512.png
  COMMAND ${CMAKE_COMMAND} -E copy ${HANGMAN_WINDOW_ICON} ${CMAKE_BINARY_DIR}/icon.png
  COMMAND ${CMAKE_COMMAND} -E copy ${HANGMAN_ARTWORK_DIR}/icons/192.png ${CMAKE_BINARY_DIR}/icon-192.png
  COMMAND ${CMAKE_COMMAND} -E copy ${HANGMAN_ARTWORK_DIR}/icons/512.png ${CMAKE_BINARY_DIR}/icon-512.png
  DEPENDS ${HANGMAN_WINDOW_ICON} ${HANGMAN_ICON_FILES}
  COMMENT "Placing the web app's icons")
add_custom_target(web_app DEPENDS ${CMAKE_BINARY_DIR}/icon.png ${CMAKE_BINARY_DIR}/icon-192.png
                                  ${CMAKE_BINARY_DIR}/icon-512.png)
add_dependencies(web_app artwork)

# Emscripten's Closure pass minifies the programs' JavaScript (a third
# smaller, gzipped), with the native Closure Compiler that npm installs into
# the build folder at the version packaging/web/closure/ pins (from npm's
# cache when it has it).
find_program(HANGMAN_NPM npm NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(closure_dir ${CMAKE_BINARY_DIR}/closure)
file(COPY ${CMAKE_SOURCE_DIR}/packaging/web/closure/package.json
          ${CMAKE_SOURCE_DIR}/packaging/web/closure/package-lock.json DESTINATION ${closure_dir})
execute_process(COMMAND ${HANGMAN_NPM} ci --no-audit --no-fund --prefer-offline --loglevel=error
                WORKING_DIRECTORY ${closure_dir} COMMAND_ERROR_IS_FATAL ANY)
set(closure ${closure_dir}/node_modules/google-closure-compiler-linux/compiler)
set(link_launcher ${CMAKE_CXX_LINKER_LAUNCHER})
if(NOT link_launcher)
  set(link_launcher ${CMAKE_COMMAND} -E env)
endif()
list(APPEND link_launcher EM_CLOSURE_COMPILER=${closure})

# Asyncify instruments only the calls that can reach a sleep: the wait, the
# delay and the present. SDL reaches the present's yield through two function
# pointers: the functions that make those calls are named for each program
# (the first is SDL_RenderPresent, or the program's function that the linker
# inlines it into). SDL_AtomicLock would only sleep on a lock held by another
# thread, and the page has none.
set(asyncify -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sASYNCIFY_IGNORE_INDIRECT
    "-sASYNCIFY_REMOVE=['SDL_AtomicLock']")

# Links `target` as a program of the site, and writes `page`, which starts it
# with `arguments` (a JavaScript array), in a target `<target>_page`; `all` is
# ALL where the page belongs to the default build, or empty. PRESENT names the
# function that holds the program's call of SDL's present (see above). With
# OFFLINE, the page is the web app, and the site's service worker is written
# with it.
function(hangman_web_program target page arguments all)
  cmake_parse_arguments(PARSE_ARGV 4 web "OFFLINE" "PRESENT" "")
  set_target_properties(${target} PROPERTIES SUFFIX .js LINK_DEPENDS ${data_js}
                        CXX_LINKER_LAUNCHER "${link_launcher}")
  add_dependencies(${target} web_data)
  target_link_options(${target} PRIVATE
    ${asyncify} "-sASYNCIFY_ADD=['${web_PRESENT}','GLES2_RenderPresent']"
    -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web
    -sFORCE_FILESYSTEM -sEXIT_RUNTIME "SHELL:--closure 1"
    -sEXPORTED_RUNTIME_METHODS=[addRunDependency,removeRunDependency,FS_createPath,FS_createDataFile,FS_createPreloadedFile]
    "SHELL:--pre-js ${data_js}")
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(web ${CMAKE_SOURCE_DIR}/packaging/web)
  # The page's scripts, joined into it in this order.
  set(scripts console.js layout.js keys.js screen.js offline.js loading.js)
  list(TRANSFORM scripts PREPEND ${web}/)
  set(outputs ${CMAKE_BINARY_DIR}/${page})
  set(worker "")
  set(offline_files "")
  if(web_OFFLINE)
    set(worker ${web}/sw.js.in)
    set(offline_files ${web_app_files})
    list(APPEND outputs ${CMAKE_BINARY_DIR}/sw.js)
    add_dependencies(${target} web_app)
  endif()
  # The page is written by a script of its own, which also writes the page
  # of any copy of the site (page.cmake says how).
  set(writer ${CMAKE_BINARY_DIR}/write-${page}.cmake)
  file(WRITE ${writer} "# Writes ${page} (made by packaging/web.cmake; see packaging/web/page.cmake)\n"
    "if(NOT SITE)\n  set(SITE [=[${CMAKE_BINARY_DIR}]=])\n"
    "  set(SERVED_LIST [=[${CMAKE_BINARY_DIR}/served-${page}.txt]=])\nendif()\n"
    "set(PROGRAM [=[${name}]=])\nset(DATA [=[${HANGMAN_NAME}.data]=])\n"
    "set(ARGUMENTS [=[${arguments}]=])\nset(NAME [=[${HANGMAN_NAME}]=])\n"
    "set(VERSION [=[${PROJECT_VERSION}]=])\nset(TEMPLATE [=[${web}/index.html.in]=])\n"
    "set(STYLE [=[${web}/page.css]=])\nset(SCRIPTS [=[${scripts}]=])\nset(PAGE [=[${page}]=])\n"
    "set(WORKER [=[${worker}]=])\nset(OFFLINE_FILES [=[${offline_files}]=])\n"
    "include([=[${web}/page.cmake]=])\n")
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -P ${writer}
    DEPENDS ${target} ${writer} ${web}/index.html.in ${web}/page.css ${scripts} ${worker}
            ${web}/page.cmake
    COMMENT "Writing ${page}"
    VERBATIM)
  add_custom_target(${target}_page ${all} DEPENDS ${CMAKE_BINARY_DIR}/${page})
endfunction()

hangman_web_program(hangman index.html "[]" ALL OFFLINE PRESENT "hangman::present_frame()")

# The benchmarks' floor page: the bare SDL program of bench/baseline.cpp,
# built, packed and started the same way, drawing the menu's frame
# (make bench-web builds it).
add_executable(floor EXCLUDE_FROM_ALL bench/baseline.cpp)
target_link_libraries(floor PRIVATE SDL2::SDL2 SDL2_image::SDL2_image)
hangman_web_program(floor floor.html "[\"menu\"]" "" PRESENT SDL_RenderPresent)

set(site_files index.html sw.js ${web_app_files})
list(TRANSFORM site_files PREPEND ${CMAKE_BINARY_DIR}/)
install(FILES ${site_files} DESTINATION .)
# The program's files under the names of their content, which writing the
# page chose (page.cmake).
install(CODE "file(STRINGS [=[${CMAKE_BINARY_DIR}/served-index.html.txt]=] served)
  list(TRANSFORM served PREPEND [=[${CMAKE_BINARY_DIR}/]=])
  file(INSTALL \${served} DESTINATION \"\${CMAKE_INSTALL_PREFIX}\")")
hangman_install_licences(${HANGMAN_WEB_DEPS})

hangman_zip(web)
hangman_release_artefacts(${HANGMAN_ZIP})
