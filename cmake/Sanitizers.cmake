# Address and undefined-behaviour sanitizers for the test build. No recovery:
# the first fault stops the test, so it cannot scroll by unnoticed.
if(TORMEL_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()
