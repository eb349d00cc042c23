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

# The demo's deposits ledger by default; its credit rows are ticked, but for those the
# register holds already (the demo read Aban into the register).
run(0 "${D}" deposits read-vouchers --year 1405 --month 8)
if(NOT OUT MATCHES "^رديف\tشماره سند\tرديف سند\t" OR NOT OUT MATCHES "${COUNTS}")
  message(SEND_ERROR "read-vouchers: '${OUT}'")
endif()
set(read "${CMAKE_MATCH_1}")
math(EXPR open "${CMAKE_MATCH_1} - ${CMAKE_MATCH_3}")
if(read EQUAL 0 OR NOT CMAKE_MATCH_2 EQUAL open OR NOT CMAKE_MATCH_4 EQUAL 0)
  message(SEND_ERROR "read-vouchers without --yes: read ${read}, ticked ${CMAKE_MATCH_2}, already ${CMAKE_MATCH_3}, transferred ${CMAKE_MATCH_4}")
endif()
if(NOT EXISTS "${D}/ReadACC.INI")
  message(SEND_ERROR "the reading's criteria were not kept")
endif()

# Debit rows only: the deposit rows are read but none is ticked.
run(0 "${D}" deposits read-vouchers --year 1405 --month 8 --side debit --yes)
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_1 EQUAL read OR NOT CMAKE_MATCH_2 EQUAL 0 OR NOT CMAKE_MATCH_4 EQUAL 0)
  message(SEND_ERROR "read-vouchers --side debit: '${OUT}'")
endif()

function(month_rows month)
  run(0 "${D}" deposits list --year 1405 --month ${month})
  string(REGEX MATCH "\nجمع کل مبالغ سپرده ها:\t[0-9]+\t([0-9]+)\n" found "${OUT}")
  set(ROWS "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# The demo's register holds every month of the deposits ledger; the bank's rows of Azar
# (ledger 11005) it does not. A user who may not write is refused and nothing changes;
# the administrator's run transfers them, a second run nothing more.
set(BANK --kol 11005)
run(0 "${D}" deposits read-vouchers --year 1405 --month 9 ${BANK})
string(REGEX MATCH "${COUNTS}" found "${OUT}")
set(ticked "${CMAKE_MATCH_2}")
month_rows(9)
set(before "${ROWS}")
if(ticked EQUAL 0)
  message(SEND_ERROR "the bank's rows of Azar offer nothing to transfer: '${OUT}'")
endif()
run(1 "${D}" deposits read-vouchers --year 1405 --month 9 ${BANK} --yes --user 5 --password 2222)
if(NOT ERR MATCHES "امنيت عبور کاربران")
  message(SEND_ERROR "the reviewer's transfer: '${ERR}'")
endif()
run(1 "${D}" deposits read-vouchers --year 1405 --month 9 ${BANK} --yes --user 3 --password wrong)
run(2 "${D}" deposits read-vouchers --year 1405 --month 9 ${BANK} --yes --user 3)
month_rows(9)
if(NOT ROWS EQUAL before)
  message(SEND_ERROR "a refused transfer changed the register: ${before} -> ${ROWS}")
endif()

# Two transfers at once (a pipeline runs them together): the month holds each row once.
execute_process(COMMAND ${ORVAKCTL} deposits read-vouchers --year 1405 --month 9 ${BANK} --yes
                COMMAND ${ORVAKCTL} deposits read-vouchers --year 1405 --month 9 ${BANK} --yes
                WORKING_DIRECTORY "${D}" INPUT_FILE /dev/null OUTPUT_QUIET ERROR_QUIET RESULTS_VARIABLE both)
month_rows(9)
math(EXPR expected "${before} + ${ticked}")
if(NOT ROWS EQUAL expected)
  message(SEND_ERROR "two transfers at once (${both}): ${before} + ${ticked} expected, ${ROWS} held")
endif()
run(0 "${D}" deposits read-vouchers --year 1405 --month 9 ${BANK} --yes)
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_3 EQUAL ticked OR NOT CMAKE_MATCH_2 EQUAL 0 OR NOT CMAKE_MATCH_4 EQUAL 0)
  message(SEND_ERROR "read-vouchers --yes again: '${OUT}'")
endif()
month_rows(9)
if(NOT ROWS EQUAL expected)
  message(SEND_ERROR "a second transfer entered the month again: ${expected} -> ${ROWS}")
endif()
# Without --user the history names the administrator, user 0, with the workstation.
run(0 "${D}" audit --table SEP_DAR)
if(NOT OUT MATCHES "\n[^\t\n]+\t[^\t\n]+\t0\t[^\t\n]+\t")
  message(SEND_ERROR "the administrator's transfer is not in the history as user 0")
endif()

run(0 "${D}" deposits read-vouchers --year 1405 --month 8 --word "حسن انجام")
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_3 EQUAL CMAKE_MATCH_1 OR CMAKE_MATCH_1 EQUAL 0)
  message(SEND_ERROR "every row read is in the register: '${OUT}'")
endif()
# A word of LIKE's signs finds nothing, a word of 60,000 letters is refused in Persian.
run(0 "${D}" deposits read-vouchers --year 1405 --month 8 --word "%_%")
if(NOT OUT MATCHES "${COUNTS}" OR NOT CMAKE_MATCH_1 EQUAL 0)
  message(SEND_ERROR "--word %_% matched: '${OUT}'")
endif()
string(REPEAT "س" 60000 long)
run(1 "${D}" deposits read-vouchers --year 1405 --month 8 --word "${long}")
if(NOT ERR MATCHES "^كلمه جستجو طولاني تر از 160 حرف است")
  message(SEND_ERROR "a long word: '${ERR}'")
endif()

run(1 "${D}" deposits read-vouchers --year 1405 --month 8 --kol 21007 --section 3)
