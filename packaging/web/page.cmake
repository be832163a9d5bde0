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
#   SERVED_LIST   where to write the served names of the program's files
#                 (the build folder's own site only)
#
# The program asks for its files by their own names (<PROGRAM>.wasm, ...),
# but the site serves each under a name of its content, the first 12 hex
# digits of its SHA-256 after the stem: chalk-hangman.3f2a9c0d1e4b.wasm. So
# no cache on the way, whatever it makes of query strings, can hand a page
# another release's file under the name it asks for, and a file that did not
# change keeps its name. In the build folder each file is copied to its
# served name; in a copy of the site, where only served files lie, a file
# whose content changed gets its new name. The page checks what it
# downloads against the size and SHA-256 written here.
#
# A digest of all of it names the release (page.release.digest): the
# worker's cache is named after it, and the worker checks every file it
# keeps against its SHA-256.
cmake_minimum_required(VERSION 3.22)
set(digests "${ARGUMENTS}")
foreach(source ${TEMPLATE} ${STYLE} ${SCRIPTS} ${WORKER})
  file(SHA256 ${source} digest)
  string(APPEND digests ${digest})
endforeach()

# Each program file under its served name, with its size and SHA-256.
set(FILES "{")
set(served_names "")
foreach(file ${PROGRAM}.wasm ${DATA} ${DATA}.js.metadata ${PROGRAM}.js)
  string(FIND ${file} "." dot)
  string(SUBSTRING ${file} 0 ${dot} stem)
  string(SUBSTRING ${file} ${dot} -1 rest)
  file(GLOB earlier RELATIVE ${SITE} "${SITE}/${stem}.????????????${rest}")
  if(EXISTS ${SITE}/${file})
    set(source ${SITE}/${file})
  elseif(earlier MATCHES "^[^;]+$")
    set(source ${SITE}/${earlier})
  else()
    message(FATAL_ERROR "${SITE} holds neither ${file} nor one file served for it: ${earlier}")
  endif()
  file(SHA256 ${source} sha256)
  file(SIZE ${source} size)
  string(SUBSTRING ${sha256} 0 12 short)
  set(served ${stem}.${short}${rest})
  if(NOT EXISTS ${SITE}/${served})
    file(COPY_FILE ${source} ${SITE}/${served})
  endif()
  foreach(old ${earlier})
    if(NOT old STREQUAL served)
      file(REMOVE ${SITE}/${old})
    endif()
  endforeach()
  list(APPEND served_names ${served})
  string(APPEND digests "${served}")
  string(APPEND FILES "\"${file}\": {\"path\": \"${served}\", \"size\": ${size}, \"sha256\": \"${sha256}\"}, ")
endforeach()
string(REGEX REPLACE ", $" "}" FILES "${FILES}")
if(SERVED_LIST)
  string(REPLACE ";" "\n" lines "${served_names}")
  file(WRITE ${SERVED_LIST} "${lines}\n")
endif()

# What the worker keeps: the page first, then every other file of the site.
set(WORKER_FILES "{\"${PAGE}\": null")
if(WORKER)
  file(GLOB licences RELATIVE ${SITE} ${SITE}/licences/*)
  list(SORT licences)
  foreach(file ${served_names} ${OFFLINE_FILES} ${licences})
    file(SHA256 ${SITE}/${file} sha256)
    string(APPEND digests "${file}${sha256}")
    string(APPEND WORKER_FILES ", \"${file}\": \"${sha256}\"")
  endforeach()
endif()
string(APPEND WORKER_FILES "}")
string(SHA256 DIGEST "${digests}")
string(SUBSTRING ${DIGEST} 0 12 DIGEST)

set(OFFLINE_CACHE "")
set(APP_LINKS "")
if(WORKER)
  set(OFFLINE_CACHE ${NAME}-${VERSION}-${DIGEST})
  configure_file(${WORKER} ${SITE}/sw.js @ONLY)
  set(APP_LINKS "\n<meta name=\"theme-color\" content=\"#1b262d\">")
endif()

file(READ ${STYLE} PAGE_STYLE)
set(PAGE_SCRIPTS "")
foreach(script ${SCRIPTS})
  file(READ ${script} text)
  string(APPEND PAGE_SCRIPTS "${text}")
endforeach()
configure_file(${TEMPLATE} ${SITE}/${PAGE} @ONLY)
