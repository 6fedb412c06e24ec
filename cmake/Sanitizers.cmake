# Applies MT_SANITIZE to every target of the build, so the plug-in, the
# front-end and the tests that load them carry the same runtime.
if(MT_SANITIZE)
  add_compile_options(-fsanitize=${MT_SANITIZE} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=${MT_SANITIZE})
  if(MT_SANITIZE MATCHES "undefined")
    # A report must fail the run, not scroll past.
    add_compile_options(-fno-sanitize-recover=all)
  endif()
endif()
