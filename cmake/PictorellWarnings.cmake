# Warnings and floating-point rules for the project's own targets only
# (third-party headers are included as SYSTEM by their imported targets).
option(PICTORELL_WERROR "Treat warnings in the project's own code as errors" OFF)
option(PICTORELL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(PICTORELL_TSAN "Build with ThreadSanitizer (for the tests labelled threads)" OFF)
if(PICTORELL_SANITIZE AND PICTORELL_TSAN)
  message(FATAL_ERROR "PICTORELL_TSAN cannot be combined with PICTORELL_SANITIZE")
endif()

add_library(pictorell_warnings INTERFACE)
target_compile_options(pictorell_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow
  $<$<BOOL:${PICTORELL_WERROR}>:-Werror>)

# Frames must be identical to the bit on every machine: no fused multiply-add,
# no reassociation, no host-specific instruction sets.
add_compile_options(-ffp-contract=off -fno-fast-math)

if(PICTORELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(PICTORELL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
