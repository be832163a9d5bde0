# Writes a page of the web site (index.html.in with its style and scripts
# joined into it) and, for the web app, its service worker (sw.js). The build
# runs it through the script it writes for each page, write-<page>.cmake,
# which sets the variables below and includes this file; run that script
# with -DSITE=<folder> to write the page of another copy of the site.
#
#   SITE          the folder with the site's files (the build folder unless given)
#   PROGRAM       the program's name: <PROGRAM>.js and <PROGRAM>.wasm
#   DATA          its data package: <DATA> and <DATA>.js.metadata
#   ARGUMENTS     the program's arguments, a JavaScript array
#   NAME, VERSION
#   TEMPLATE, STYLE, SCRIPTS   the page's markup, style and scripts, in order
#   PAGE          the page's file name in SITE
#   WORKER        for the web app: the service worker's template
#   OFFLINE_FILES for the web app: the site's other files the worker keeps,
#                 besides the page, the program and licences/
#
# A digest of all of it names the release. The page asks for each of the
# program's files with it (<file>?release=<digest>), so that no cache on the
# way can hand a page another release's program, and checks what it gets
# against the size and SHA-256 written here; the worker's cache is named
# after it, and the worker checks every file it keeps the same way.
cmake_minimum_required(VERSION 3.22)
set(program_files ${PROGRAM}.wasm ${DATA} ${DATA}.js.metadata ${PROGRAM}.js)
set(kept_files ${program_files})
if(WORKER)
  file(GLOB licences RELATIVE ${SITE} ${SITE}/licences/*)
  list(SORT licences)
  list(APPEND kept_files ${OFFLINE_FILES} ${licences})
endif()

set(digests "${ARGUMENTS}")
foreach(source ${TEMPLATE} ${STYLE} ${SCRIPTS} ${WORKER})
  file(SHA256 ${source} digest)
  string(APPEND digests ${digest})
endforeach()
set(FILES "{")
set(WORKER_FILES "{\"${PAGE}\": null")
foreach(file ${kept_files})
  file(SHA256 ${SITE}/${file} sha256)
  file(SIZE ${SITE}/${file} size)
  string(APPEND digests "${file}${sha256}")
  string(APPEND WORKER_FILES ", \"${file}\": \"${sha256}\"")
  if(file IN_LIST program_files)
    string(APPEND FILES "\"${file}\": {\"size\": ${size}, \"sha256\": \"${sha256}\"}, ")
  endif()
endforeach()
string(REGEX REPLACE ", $" "}" FILES "${FILES}")
string(APPEND WORKER_FILES "}")
string(SHA256 DIGEST "${digests}")
string(SUBSTRING ${DIGEST} 0 12 DIGEST)

set(OFFLINE_CACHE "")
set(APP_LINKS "")
if(WORKER)
  set(OFFLINE_CACHE ${NAME}-${VERSION}-${DIGEST})
  configure_file(${WORKER} ${SITE}/sw.js @ONLY)
  set(APP_LINKS "\n<link rel=\"manifest\" href=\"manifest.webmanifest\">\n<meta name=\"theme-color\" content=\"#1b262d\">")
endif()

file(READ ${STYLE} PAGE_STYLE)
set(PAGE_SCRIPTS "")
foreach(script ${SCRIPTS})
  file(READ ${script} text)
  string(APPEND PAGE_SCRIPTS "${text}")
endforeach()
configure_file(${TEMPLATE} ${SITE}/${PAGE} @ONLY)
