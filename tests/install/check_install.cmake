# Installs the build into DEST with prefix /usr and compares the files there
# with the list a desktop installation needs; then validates them.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DEST}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${DEST}" ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

set(expected
  usr/${BINDIR}/brenlo
  usr/${BINDIR}/brenlo-render
  usr/${DATADIR}/applications/${APP_ID}.desktop
  usr/${DATADIR}/metainfo/${APP_ID}.metainfo.xml
  usr/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg
  usr/${DATADIR}/doc/pictorell/README.md
  usr/${DATADIR}/doc/pictorell/LICENSE
  usr/${HELP_DIR}/en/index.html)
foreach(page index start effects options preview saving framelist settings)
  list(APPEND expected usr/${HELP_DIR}/${page}.html)
endforeach()
list(APPEND expected usr/${HELP_DIR}/style.css)
if(EXPECT_CHM)
  list(APPEND expected usr/${HELP_DIR}/brenlo.chm)
endif()
string(REPLACE "," ";" sizes "${PNG_SIZES}")
foreach(size IN LISTS sizes)
  list(APPEND expected usr/${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()

file(GLOB_RECURSE found RELATIVE "${DEST}" "${DEST}/*")
list(SORT expected)
list(SORT found)
if(NOT found STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${found})
  set(extra ${found})
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "Installed files differ.\nMissing: ${missing}\nNot expected: ${extra}")
endif()

# Both programs are executable; brenlo-render runs from where it was installed
# (the window is left alone: it would need a display).
foreach(program brenlo brenlo-render)
  execute_process(COMMAND test -x "${DEST}/usr/${BINDIR}/${program}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} is not executable")
  endif()
endforeach()
execute_process(COMMAND "${DEST}/usr/${BINDIR}/brenlo-render" --help
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^Usage: brenlo-render")
  message(FATAL_ERROR "brenlo-render --help did not run (${rc}):\n${out}")
endif()
# The program finds its help from its own folder by this path.
if(NOT EXISTS "${DEST}/usr/${BINDIR}/${HELP_FROM_BIN}/index.html")
  message(FATAL_ERROR "The help is not at bin/${HELP_FROM_BIN}")
endif()

if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${DEST}/usr/${DATADIR}/applications/${APP_ID}.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR out MATCHES "(warning|error):")
    message(FATAL_ERROR "desktop-file-validate:\n${out}")
  endif()
else()
  message(STATUS "desktop-file-validate not found: the installed desktop entry is not validated")
endif()
if(APPSTREAMCLI)
  # The metainfo, its desktop entry and its icon, as a software centre sees them.
  execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net "${DEST}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate-tree:\n${out}")
  endif()
else()
  message(STATUS "appstreamcli not found: the installed tree is not validated")
endif()
message(STATUS "Installed ${DEST}: ${found}")
