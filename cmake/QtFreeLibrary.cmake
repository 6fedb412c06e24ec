# A static library that builds without Qt: the fuzzers and the benchmarks
# link it on its own. Its headers are included from the project's root.
function(mt_add_qt_free_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()
