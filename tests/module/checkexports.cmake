# Fails unless the plug-in defines exactly qt_plugin_instance and
# qt_plugin_query_metadata among its dynamic symbols.
execute_process(COMMAND nm -D --defined-only ${PLUGIN}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${PLUGIN}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(exported "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  # Linker-made section markers and the sanitizers' own hooks are not ours.
  if(name MATCHES "^(_init|_fini|_edata|_end|__bss_start|__asan_.*|__ubsan_.*|__sanitizer_.*)$")
    continue()
  endif()
  list(APPEND exported ${name})
endforeach()
list(SORT exported)
if(NOT exported STREQUAL "qt_plugin_instance;qt_plugin_query_metadata")
  message(FATAL_ERROR "unexpected exports: ${exported}")
endif()
message(STATUS "exports: ${exported}")
