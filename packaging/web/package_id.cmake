# Gives the packed data an id made from its contents: Emscripten's packager
# draws a random one, which would make every build of the site differ. Also
# takes out of its loader (DATA_JS, joined before the program's JavaScript)
# the second declaration of Module, which Closure Compiler would refuse.
#
#   cmake -DDATA=<the .data file> -DMETADATA=<its .metadata file> -DDATA_JS=<its .js> -P package_id.cmake
file(READ ${DATA_JS} loader)
string(REPLACE "var Module = typeof Module !== 'undefined' ? Module : {};" "" loader "${loader}")
file(WRITE ${DATA_JS} "${loader}")
file(SHA256 ${DATA} digest)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id
                     "${digest}")
file(READ ${METADATA} json)
string(JSON json SET "${json}" package_uuid "\"${id}\"")
file(WRITE ${METADATA} "${json}")
