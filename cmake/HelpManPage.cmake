# Script mode: a program's manual page from its --help, compressed as Debian
# wants it (gzip -9n: no file name, no time stamp).
#   cmake -DHELP2MAN=... -DGZIP=... -DPROGRAM=... -DNAME=... -DVERSION=...
#         -DINCLUDE=... -DPREFIX=/usr -DBINDIR=bin -DMODULESDIR=lib/... -DOUTPUT=x.1.gz
#         [-DDATE_EPOCH=seconds, the page's date]
#         -P HelpManPage.cmake
foreach(var HELP2MAN GZIP PROGRAM NAME VERSION INCLUDE PREFIX BINDIR MODULESDIR OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "HelpManPage.cmake: ${var} not set")
  endif()
endforeach()

# The front-end names its modules folder in its help, found from its own
# folder: run from a copy in the installed layout, the page names the
# installed folder rather than the build tree. The help wraps its lines and
# help2man escapes dashes and dots, so the staging root is short and plain
# for the path to stay one word that is then cut out whole.
if(DEFINED ENV{TMPDIR} AND IS_DIRECTORY "$ENV{TMPDIR}")
  set(tmp "$ENV{TMPDIR}")
else()
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 ALPHABET abcdefghijklmnopqrstuvwxyz0123456789 tag)
set(stage "${tmp}/mtman${tag}")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}${PREFIX}/${BINDIR}" "${stage}${PREFIX}/${MODULESDIR}")
file(COPY "${PROGRAM}" DESTINATION "${stage}${PREFIX}/${BINDIR}")
get_filename_component(program_name "${PROGRAM}" NAME)

# The English help whatever the builder's locale; no display needed; a
# sanitized build's leak report at exit is not the help's business.
set(ENV{LC_ALL} C.UTF-8)
set(ENV{LANG} C.UTF-8)
unset(ENV{LANGUAGE})
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ASAN_OPTIONS} detect_leaks=0)
if(DATE_EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} "${DATE_EPOCH}")
endif()

string(REGEX REPLACE "\\.gz$" "" page "${OUTPUT}")
execute_process(
  COMMAND "${HELP2MAN}" --no-info --section=1 "--name=${NAME}" "--version-string=${VERSION}"
          "--include=${INCLUDE}" "--output=${page}" "${stage}${PREFIX}/${BINDIR}/${program_name}"
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  file(REMOVE_RECURSE "${stage}")
  message(FATAL_ERROR "help2man failed for ${program_name} (${result}): ${errors}")
endif()

file(READ "${page}" text)
string(REPLACE "${stage}" "" text "${text}")
if(text MATCHES "mtman${tag}")
  message(FATAL_ERROR "${page} still names the staging folder ${stage}")
endif()
file(WRITE "${page}" "${text}")
file(REMOVE_RECURSE "${stage}")

execute_process(COMMAND "${GZIP}" -9nf "${page}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${page}")
endif()
