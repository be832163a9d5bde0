# Writes the launcher script for one installed layout. Run at install time
# (so that `cmake --install --prefix` and DESTDIR are honoured) or with -P:
#
#   LAUNCHER_TEMPLATE  packaging/launcher.sh.in
#   LAUNCHER_OUTPUT    the script to write
#   LAUNCHER_NAME      the program's file name
#   LAUNCHER_PREFIX    the installation prefix
#   LAUNCHER_BINDIR    the launcher's folder      } each relative to the
#   LAUNCHER_PROGRAMDIR the program's folder      } prefix, or absolute
#   LAUNCHER_DATADIR   the data folder            }
#   DESKTOP_TEMPLATE   packaging/chalk-hangman.desktop.in  } optional: the
#   DESKTOP_OUTPUT     the desktop entry to write           } desktop entry
#   MANUAL_TEMPLATE    packaging/chalk-hangman.6.in   } optional: the manual
#   MANUAL_OUTPUT      the manual page to write       } page, naming this
#   MANUAL_VERSION     the version it documents       } layout's folders;
#   GZIP               gzip, to compress it (-9n)     } compressed with GZIP
#
# Folders inside the prefix are reached relative to the launcher, so the
# installation can be moved; a folder given as an absolute path is used as
# it stands.
foreach(var LAUNCHER_TEMPLATE LAUNCHER_OUTPUT LAUNCHER_NAME LAUNCHER_PREFIX LAUNCHER_BINDIR
            LAUNCHER_PROGRAMDIR LAUNCHER_DATADIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "write_launcher.cmake: ${var} is not set")
  endif()
endforeach()

# Makes a path safe inside double quotes in a shell script.
function(shell_quote out path)
  string(REGEX REPLACE "([\"$`\\\\])" "\\\\\\1" quoted "${path}")
  set(${out} "${quoted}" PARENT_SCOPE)
endfunction()

# The launcher's way to `dir`: "$here/<relative path>" when both folders lie
# inside the prefix, the absolute path otherwise.
function(launcher_path out dir)
  if(IS_ABSOLUTE "${LAUNCHER_BINDIR}" OR IS_ABSOLUTE "${dir}")
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${LAUNCHER_PREFIX}" NORMALIZE OUTPUT_VARIABLE full)
    shell_quote(quoted "${full}")
    set(${out} "${quoted}" PARENT_SCOPE)
    return()
  endif()
  cmake_path(ABSOLUTE_PATH LAUNCHER_BINDIR BASE_DIRECTORY "${LAUNCHER_PREFIX}" NORMALIZE
             OUTPUT_VARIABLE bin)
  cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${LAUNCHER_PREFIX}" NORMALIZE OUTPUT_VARIABLE full)
  file(RELATIVE_PATH relative "${bin}" "${full}")
  if(relative STREQUAL "")
    set(relative ".")
  endif()
  shell_quote(quoted "${relative}")
  set(${out} "$here/${quoted}" PARENT_SCOPE)
endfunction()

launcher_path(LAUNCHER_DATA "${LAUNCHER_DATADIR}")
launcher_path(program_dir "${LAUNCHER_PROGRAMDIR}")
shell_quote(quoted_name "${LAUNCHER_NAME}")
set(LAUNCHER_PROGRAM "${program_dir}/${quoted_name}")
configure_file("${LAUNCHER_TEMPLATE}" "${LAUNCHER_OUTPUT}" @ONLY)

# The desktop entry starts the launcher by its full path: a desktop session's
# PATH need not hold the folder (Debian's /usr/games, for one).
if(DEFINED DESKTOP_TEMPLATE)
  cmake_path(ABSOLUTE_PATH LAUNCHER_BINDIR BASE_DIRECTORY "${LAUNCHER_PREFIX}" NORMALIZE
             OUTPUT_VARIABLE bin)
  set(DESKTOP_EXEC "${bin}/${LAUNCHER_NAME}")
  string(REPLACE "%" "%%" DESKTOP_EXEC "${DESKTOP_EXEC}")
  if(NOT DESKTOP_EXEC MATCHES "^[-A-Za-z0-9/._+%]+$")
    # Quoted as the desktop entry format wants it, then escaped as a string.
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${DESKTOP_EXEC}")
    string(REPLACE "\\" "\\\\" quoted "${quoted}")
    set(DESKTOP_EXEC "\"${quoted}\"")
  endif()
  configure_file("${DESKTOP_TEMPLATE}" "${DESKTOP_OUTPUT}" @ONLY)
endif()

# The manual page names the folders of this very layout. Paths are escaped
# for troff: a backslash, a minus and a space each have their own sign.
if(DEFINED MANUAL_TEMPLATE)
  function(troff_path out dir)
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${LAUNCHER_PREFIX}" NORMALIZE OUTPUT_VARIABLE full)
    string(REPLACE "\\" "\\e" full "${full}")
    string(REPLACE "-" "\\-" full "${full}")
    string(REPLACE " " "\\ " full "${full}")
    string(REGEX REPLACE "/$" "" full "${full}")
    set(${out} "${full}" PARENT_SCOPE)
  endfunction()
  troff_path(MANUAL_DATADIR "${LAUNCHER_DATADIR}")
  troff_path(program_dir "${LAUNCHER_PROGRAMDIR}")
  troff_path(launcher_dir "${LAUNCHER_BINDIR}")
  string(REPLACE "-" "\\-" troff_name "${LAUNCHER_NAME}")
  set(MANUAL_PROGRAM "${program_dir}/${troff_name}")
  set(MANUAL_LAUNCHER "${launcher_dir}/${troff_name}")
  if(DEFINED GZIP AND GZIP)
    configure_file("${MANUAL_TEMPLATE}" "${MANUAL_OUTPUT}.source" @ONLY)
    execute_process(COMMAND "${GZIP}" -9 -n -c "${MANUAL_OUTPUT}.source" OUTPUT_FILE "${MANUAL_OUTPUT}"
                    COMMAND_ERROR_IS_FATAL ANY)
  else()
    configure_file("${MANUAL_TEMPLATE}" "${MANUAL_OUTPUT}" @ONLY)
  endif()
endif()
