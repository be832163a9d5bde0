# Writes the page that starts one program of the web site, from
# packaging/web/index.html.in with its style and scripts joined into it, and
# the size of every download for its progress bar. Given WORKER, also writes
# the site's service worker (sw.js) from that template, which keeps the page,
# the program and OFFLINE_FILES for play without the network, in a cache
# named after the version and a digest of all of them.
#
#   cmake -DSITE=<build folder> -DPROGRAM=<name of the .js and .wasm>
#         -DDATA=<the .data file> -DARGUMENTS=<a JavaScript array>
#         -DNAME=<name> -DVERSION=<version> -DTEMPLATE=<the template>
#         -DSTYLE=<the style sheet> -DSCRIPTS=<the scripts, in order, joined by |>
#         -DPAGE=<page to write> [-DWORKER=<sw.js template> -DOFFLINE_FILES=<more files of SITE>]
#         -P page.cmake
string(REPLACE "|" ";" SCRIPTS "${SCRIPTS}")
file(READ ${STYLE} PAGE_STYLE)
set(PAGE_SCRIPTS "")
foreach(script IN LISTS SCRIPTS)
  file(READ ${script} text)
  string(APPEND PAGE_SCRIPTS "${text}")
endforeach()

set(program_files ${PROGRAM}.wasm ${DATA} ${DATA}.js.metadata ${PROGRAM}.js)
set(SIZES "{")
foreach(file ${program_files})
  file(SIZE ${SITE}/${file} size)
  string(APPEND SIZES "\"${file}\": ${size}, ")
endforeach()
string(REGEX REPLACE ", $" "}" SIZES "${SIZES}")

set(OFFLINE_CACHE "")
set(APP_LINKS "")
if(WORKER)
  get_filename_component(page_name ${PAGE} NAME)
  set(digests)
  foreach(file ${TEMPLATE} ${STYLE} ${SCRIPTS} ${WORKER})
    file(SHA256 ${file} digest)
    string(APPEND digests ${digest})
  endforeach()
  set(FILES "[\"${page_name}\"")
  foreach(file ${program_files} ${OFFLINE_FILES})
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND digests ${digest})
    string(APPEND FILES ", \"${file}\"")
  endforeach()
  string(APPEND FILES "]")
  string(SHA256 digest "${ARGUMENTS}${digests}")
  string(SUBSTRING ${digest} 0 12 digest)
  set(OFFLINE_CACHE ${NAME}-${VERSION}-${digest})
  configure_file(${WORKER} ${SITE}/sw.js @ONLY)
  set(APP_LINKS "\n<link rel=\"manifest\" href=\"manifest.webmanifest\">\n<meta name=\"theme-color\" content=\"#1b262d\">")
endif()
configure_file(${TEMPLATE} ${PAGE} @ONLY)
