# orvakctl parties on a demo installation: the header, every party of the section,
# the normalised search, and text with quotes searched as text.
set(W "${WORK}/orvakctl-parties")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}")

include(${CMAKE_CURRENT_LIST_DIR}/CliRun.cmake)

run(2 "${W}" parties --section 7)
run(2 "${W}" parties --search)
run(0 "${W}" demo --data "${W}/demo" --today 1404/06/01)
set(D "${W}/demo")

set(header "کد تفصيلي\tشناسه/کد ملي\tنام\tحقوقي/حقيقي\tشرح حساب 1\tشرح حساب 2\tگروه\n")
run(0 "${D}" parties)
string(REGEX MATCHALL "\n[0-9]+\t" rows "${OUT}")
list(LENGTH rows count)
if(NOT OUT MATCHES "^${header}1001\t" OR count LESS 150)
  message(SEND_ERROR "parties: ${count} rows: '${OUT}'")
endif()
# Arabic Kaf and Yeh find the names typed with the Persian letters.
run(0 "${D}" parties --search "شركت مهندسين")
if(NOT OUT MATCHES "^${header}[0-9]+\t[^\n]*شرکت مهندسين مشاور" OR OUT MATCHES "راهسازي")
  message(SEND_ERROR "parties --search: '${OUT}'")
endif()
run(0 "${D}" parties --search "' OR '1'='1")
if(NOT OUT STREQUAL "${header}")
  message(SEND_ERROR "parties with a quoted search should be the header alone: '${OUT}'")
endif()
run(0 "${D}" parties --section 1)
if(NOT OUT STREQUAL "${header}")
  message(SEND_ERROR "parties of section 1 should be the header alone: '${OUT}'")
endif()
