# Runs scripts/update-translations.sh on a copy of the English translation and fails when that
# changed the copy (a text of the code is missing from the file, or the file holds one the code
# no longer has) or when any text has no English translation.
set(committed ${SOURCE_DIR}/app/translations/orv_en.ts)
set(refreshed ${WORK_DIR}/orv_en.refreshed.ts)
configure_file(${committed} ${refreshed} COPYONLY)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LUPDATE=${LUPDATE} ${SOURCE_DIR}/scripts/update-translations.sh ${refreshed}
  RESULT_VARIABLE status
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${errors}")
endif()

file(READ ${committed} before)
file(READ ${refreshed} after)
# Semicolons (in file dialog filters) would split CMake's lists.
string(REPLACE ";" "," messages "${after}")
string(REGEX MATCHALL "<source>[^<]*</source>[ \t\r\n]*<translation[^>]*>[^<]*</translation>" messages "${messages}")
set(problems "")
foreach(message IN LISTS messages)
  if(message MATCHES "type=\"(unfinished|vanished|obsolete)\"" OR message MATCHES "<translation>[ \t\r\n]*</translation>")
    string(REGEX REPLACE "<source>([^<]*)</source>.*" "\\1" source "${message}")
    string(APPEND problems "  ${source}\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "Texts without an English translation (translate them in app/translations/orv_en.ts):\n${problems}")
endif()
if(NOT before STREQUAL after)
  message(FATAL_ERROR "app/translations/orv_en.ts is not in step with the code: run scripts/update-translations.sh")
endif()
