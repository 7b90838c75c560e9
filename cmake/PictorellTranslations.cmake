# The English translation of the interface. The Japanese texts in the sources
# are the source language; translations/pictorell_en.ts holds the English.
#
# lupdate reads every folder whose texts the windows show, and the one header
# of play/ that holds shown texts (the play summary, the preset warnings and
# the budget report). Messages carry no source locations, so that moving code
# does not touch the .ts file, and texts that left the sources leave the file
# too.
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

set(PICTORELL_TS_FILES ${PROJECT_SOURCE_DIR}/translations/pictorell_en.ts)
file(GLOB PICTORELL_TRANSLATED_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
  ${PROJECT_SOURCE_DIR}/framelist/*.cpp ${PROJECT_SOURCE_DIR}/framelist/*.h
  ${PROJECT_SOURCE_DIR}/intake/*.cpp ${PROJECT_SOURCE_DIR}/intake/*.h)
list(APPEND PICTORELL_TRANSLATED_SOURCES ${PROJECT_SOURCE_DIR}/play/play_texts.h)
set(PICTORELL_LUPDATE_OPTIONS -source-language ja_JP -target-language en -locations none -no-obsolete)

# The same list for the test that runs lupdate on a copy of the .ts file.
string(JOIN "\n" _pictorell_tr_list ${PICTORELL_TRANSLATED_SOURCES})
file(WRITE ${CMAKE_BINARY_DIR}/translations/sources.lst "${_pictorell_tr_list}\n")
