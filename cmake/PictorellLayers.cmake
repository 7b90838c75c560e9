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
