# orvakctl vouchers on a demo installation: one TSV line per voucher row with the
# header first and the totals after, a range of numbers, a year without an
# accounting database, and wrong calls refused before anything is touched.
set(W "${WORK}/orvakctl-vouchers")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}/empty")

function(run expect_rc dir)
  execute_process(COMMAND ${ORVAKCTL} ${ARGN} WORKING_DIRECTORY "${dir}" INPUT_FILE /dev/null
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL expect_rc)
    message(SEND_ERROR "orvakctl ${ARGN}: expected rc ${expect_rc}, got ${rc}: ${out} ${err}")
  endif()
  if(NOT expect_rc EQUAL 0 AND err STREQUAL "")
    message(SEND_ERROR "orvakctl ${ARGN}: failed without a message")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()

foreach(call "vouchers" "vouchers;--year;abc" "vouchers;--year;1405;--section;5" "vouchers;--year;1405;--from;x"
             "vouchers;--year;1405;--from;5;--to;3" "vouchers;--year;1405;--kind;1" "vouchers;--year;1405;extra")
  run(2 "${W}/empty" ${call})
endforeach()
file(GLOB touched "${W}/empty/*")
if(touched)
  message(SEND_ERROR "a wrong call touched the folder: ${touched}")
endif()

run(0 "${W}" demo --data "${W}/demo" --today 1405/09/18)
set(D "${W}/demo")
set(HEADER "شماره سند\tتاريخ\tنوع\tوضعيت\tکاربر\tشرح سند\tرديف\tکل\tمعين\tتفصيلي\tشرح\tبدهكار\tبستانكار\n")

run(0 "${D}" vouchers --year 1405)
if(NOT OUT MATCHES "^${HEADER}([0-9]+)\t1405/[01][0-9]/[0-3][0-9]\t1\t2\t4\t[^\t\n]+\t[0-9]+\t81001\t1\t[0-9]+\t[^\t\n]+\t[1-9][0-9]*\t0\n")
  message(SEND_ERROR "vouchers --year 1405: '${OUT}'")
endif()
set(first "${CMAKE_MATCH_1}")
if(NOT OUT MATCHES "\n\nتعداد اسناد\t[1-9][0-9]*\nبدهكار:\t([0-9]+)\nبستانكار:\t([0-9]+)\nاختلاف:\t0\n$")
  message(SEND_ERROR "vouchers --year 1405: totals: '${OUT}'")
endif()

run(0 "${D}" vouchers --year 1405 --from ${first} --to ${first})
string(REGEX MATCHALL "\n[0-9]+\t" numbers "${OUT}")
list(REMOVE_DUPLICATES numbers)
if(NOT numbers STREQUAL "\n${first}\t" OR NOT OUT MATCHES "\nتعداد اسناد\t1\n")
  message(SEND_ERROR "vouchers --from ${first} --to ${first}: '${OUT}'")
endif()

run(0 "${D}" vouchers --year 1405 --from 999999)
if(NOT OUT MATCHES "^${HEADER}\nتعداد اسناد\t0\n")
  message(SEND_ERROR "vouchers beyond the last one should be the header alone: '${OUT}'")
endif()

foreach(call "--year;1390" "--year;1405;--section;1")
  run(1 "${D}" vouchers ${call})
  if(NOT ERR MATCHES "بانک اطلاعاتي حسابداري يافت نشد: سال مالي")
    message(SEND_ERROR "vouchers ${call}: '${ERR}'")
  endif()
endforeach()
