# libFuzzer builds (clang only): -DPICTORELL_FUZZ=ON instruments every
# project target for coverage, AddressSanitizer and UndefinedBehaviorSanitizer
# and adds the fuzz targets of fuzz/. bench/fuzz.sh makes such a build.
option(PICTORELL_FUZZ "Build the libFuzzer targets (clang only)" OFF)

if(PICTORELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PICTORELL_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
