# pictorell_expose(<target> <folder>)
# The target's own sources and its dependants reach the headers of <folder>/
# only (as "<folder>/name.h"), not the whole tree: a library that does not
# link another cannot include it. Each folder gets an include directory of
# its own in the build tree holding one link to the source folder.
function(pictorell_expose target folder)
  set(dir ${CMAKE_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${dir}/${folder})
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${dir})
endfunction()

# pictorell_expose_public(<target> <folder> <header>...)
# For a library with internals: its dependants reach only the headers listed
# (as "<folder>/name.h"); the target's own sources reach the whole folder.
# Tests of the internals add the whole folder with pictorell_reach_internals.
function(pictorell_expose_public target folder)
  set(public ${CMAKE_BINARY_DIR}/layers/${folder}-public)
  file(REMOVE_RECURSE ${public})
  file(MAKE_DIRECTORY ${public}/${folder})
  foreach(header ${ARGN})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder}/${header} ${public}/${folder}/${header} SYMBOLIC)
  endforeach()
  set(dir ${CMAKE_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${dir}/${folder})
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${public} PRIVATE ${dir})
endfunction()

# pictorell_reach_internals(<target> <folder>)
# A test or benchmark that works on a library's internal headers.
function(pictorell_reach_internals target folder)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/layers/${folder})
endfunction()
