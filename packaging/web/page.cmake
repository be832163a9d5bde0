# Writes the page that starts one program of the web site, from
# packaging/web/index.html.in, with the size of every download for its
# progress bar.
#
#   cmake -DSITE=<build folder> -DPROGRAM=<name of the .js and .wasm>
#         -DDATA=<the .data file> -DARGUMENTS=<a JavaScript array>
#         -DVERSION=<version> -DTEMPLATE=<the template> -DPAGE=<page to write>
#         -P page.cmake
set(SIZES "{")
foreach(file ${PROGRAM}.wasm ${DATA} ${DATA}.js.metadata ${PROGRAM}.js)
  file(SIZE ${SITE}/${file} size)
  string(APPEND SIZES "\"${file}\": ${size}, ")
endforeach()
string(REGEX REPLACE ", $" "}" SIZES "${SIZES}")
configure_file(${TEMPLATE} ${PAGE} @ONLY)
