# Address and undefined-behaviour sanitizers for the test build. No recovery:
# the first fault stops the test, so it cannot scroll by unnoticed.
if(TORMEL_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()

# The fuzzing build: every library instrumented for coverage and checked by
# both sanitizers, optimised since executions per second are what find
# faults; only the fuzz targets link libFuzzer's main.
if(TORMEL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TORMEL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(_fuzz -O2 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_fuzz})
  add_link_options(-fsanitize=address,undefined)
endif()
