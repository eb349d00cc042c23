# orvakctl statement read/list/match on a demo installation: the demo's statement file
# read again (replace keeps one copy, append refuses to double unasked), the list with
# its totals, the month's plan, the matching and a second run that finds nothing new;
# wrong calls refused before anything is touched.
include(${CMAKE_CURRENT_LIST_DIR}/CliRun.cmake)
set(W "${WORK}/orvakctl-statements")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}/empty")

foreach(call "statement;read;--account;1;--format;5;--from;1405/09;--to;1405/09;x.csv"
             "statement;read;--account;1;--format;34;--from;1405/09;--to;1405/09;--replace;x.csv"
             "statement;read;--account;1;--format;5;--from;1405/13;--to;1405/09;--replace;x.csv"
             "statement;list;--account;1;--from;1405/09/01"
             "statement;match;--account;1;--year;1405;--month;13")
  run(2 "${W}/empty" ${call})
endforeach()
file(GLOB touched "${W}/empty/*")
if(touched)
  message(SEND_ERROR "a wrong call touched the folder: ${touched}")
endif()

run(0 "${W}" demo --data "${W}/demo" --today 1405/09/18)
set(D "${W}/demo")
file(GLOB sample "${D}/statements/*.csv")

run(0 "${D}" statement read --account 1 --format 5 --from 1405/09 --to 1405/09 --replace ${sample})
if(NOT OUT MATCHES "ثبت شده\t([0-9]+)\n")
  message(SEND_ERROR "read: '${OUT}'")
endif()
set(read "${CMAKE_MATCH_1}")
# Appending the same lines is asked, and without a yes nothing is doubled.
run(1 "${D}" statement read --account 1 --format 5 --from 1405/09 --to 1405/09 --append ${sample})
run(0 "${D}" statement list --account 1 --from 1405/09/01 --to 1405/09/30)
if(NOT OUT MATCHES "^رديف\tتاريخ تراکنش\t")
  message(SEND_ERROR "list header: '${OUT}'")
endif()
string(REGEX REPLACE "\n\n.*" "" body "${OUT}")
string(REGEX MATCHALL "\n" breaks "${body}")
list(LENGTH breaks lines)
if(NOT lines EQUAL read)
  message(SEND_ERROR "list: ${lines} lines for ${read} read")
endif()

run(0 "${D}" statement match --account 1 --year 1405 --month 9 --dry-run)
if(NOT OUT MATCHES "تطبيق داده شده\t([0-9]+)\t")
  message(SEND_ERROR "plan: '${OUT}'")
endif()
set(planned "${CMAKE_MATCH_1}")
run(0 "${D}" statement match --account 1 --year 1405 --month 9)
if(NOT OUT MATCHES "تائيد شده\t${planned}\n")
  message(SEND_ERROR "match: '${OUT}' (planned ${planned})")
endif()
run(0 "${D}" statement match --account 1 --year 1405 --month 9 --dry-run)
if(NOT OUT MATCHES "تطبيق داده شده\t0\t0\nسپرده افزوده\t0\t0")
  message(SEND_ERROR "second plan: '${OUT}'")
endif()
