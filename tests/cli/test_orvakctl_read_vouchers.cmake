# orvakctl deposits read-vouchers on a demo installation: the candidates and counts
# without --yes (nothing written), the transfer with --yes, and wrong calls refused
# before anything is touched.
include("${CMAKE_CURRENT_LIST_DIR}/CliRun.cmake")
set(W "${WORK}/orvakctl-read-vouchers")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}/empty")

foreach(call "deposits;read-vouchers" "deposits;read-vouchers;--year;1405" "deposits;read-vouchers;--year;1405;--month;19"
             "deposits;read-vouchers;--year;1405;--month;8;--side;x" "deposits;read-vouchers;--year;1405;--month;8;--kol;abc"
             "deposits;read-vouchers;--year;1405;--month;8;--word;a;--word;b;--word;c;--word;d;--word;e")
  run(2 "${W}/empty" ${call})
endforeach()
file(GLOB touched "${W}/empty/*")
if(touched)
  message(SEND_ERROR "a wrong call touched the folder: ${touched}")
endif()

run(0 "${W}" demo --data "${W}/demo" --today 1405/09/18)
set(D "${W}/demo")
# A year without its accounting database is a failure, not an empty month.
run(1 "${D}" deposits read-vouchers --year 1399 --month 1)
set(COUNTS "\n\nبدهکار\t[0-9]+\nبستانکار\t[0-9]+\n\nخوانده شده\t([0-9]+)\nانتخاب شده\t([0-9]+)\nقبلا منتقل شده\t([0-9]+)\nمنتقل شده\t([0-9]+)\n$")

# The demo's deposits ledger by default; its credit rows are ticked.
run(0 "${D}" deposits read-vouchers --year 1405 --month 8)
if(NOT OUT MATCHES "^رديف\tشماره سند\tرديف سند\t" OR NOT OUT MATCHES "${COUNTS}")
  message(SEND_ERROR "read-vouchers: '${OUT}'")
endif()
set(read "${CMAKE_MATCH_1}")
set(ticked "${CMAKE_MATCH_2}")
if(read EQUAL 0 OR NOT ticked EQUAL read OR NOT CMAKE_MATCH_4 EQUAL 0)
  message(SEND_ERROR "read-vouchers without --yes: read ${read}, ticked ${ticked}, transferred ${CMAKE_MATCH_4}")
endif()
if(NOT EXISTS "${D}/ReadACC.INI")
  message(SEND_ERROR "the reading's criteria were not kept")
endif()

# Debit rows only: the deposit rows are read but none is ticked.
run(0 "${D}" deposits read-vouchers --year 1405 --month 8 --side debit --yes)
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_1 EQUAL read OR NOT CMAKE_MATCH_2 EQUAL 0 OR NOT CMAKE_MATCH_4 EQUAL 0)
  message(SEND_ERROR "read-vouchers --side debit: '${OUT}'")
endif()

run(0 "${D}" deposits read-vouchers --year 1405 --month 8 --yes)
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_4 EQUAL ticked)
  message(SEND_ERROR "read-vouchers --yes: '${OUT}'")
endif()
run(0 "${D}" deposits read-vouchers --year 1405 --month 8 --word "حسن انجام")
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_3 EQUAL CMAKE_MATCH_1 OR CMAKE_MATCH_1 EQUAL 0)
  message(SEND_ERROR "after the transfer every row read is in the register: '${OUT}'")
endif()

run(1 "${D}" deposits read-vouchers --year 1405 --month 8 --kol 21007 --section 3)
