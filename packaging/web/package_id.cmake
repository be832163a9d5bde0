# Gives the packed data an id made from its contents. Emscripten's packager
# draws a random one, which would make every build of the site differ.
#
#   cmake -DDATA=<the .data file> -DMETADATA=<its .metadata file> -P package_id.cmake
file(SHA256 ${DATA} digest)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id
                     "${digest}")
file(READ ${METADATA} json)
string(JSON json SET "${json}" package_uuid "\"${id}\"")
file(WRITE ${METADATA} "${json}")
