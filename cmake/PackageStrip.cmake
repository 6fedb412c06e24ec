# CPack pre-build script: the staged programs and module lose the compiler's
# .comment and .note sections as well, as Debian's own packages do;
# CPACK_STRIP_FILES has already taken their symbols and debug data.
if(NOT CPACK_MT_STRIP)
  message(FATAL_ERROR "PackageStrip.cmake: no strip program (CPACK_MT_STRIP)")
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    continue()
  endif()
  execute_process(
    COMMAND "${CPACK_MT_STRIP}" --remove-section=.comment --remove-section=.note "${file}"
    RESULT_VARIABLE result
    ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "strip failed on ${file}: ${errors}")
  endif()
endforeach()
