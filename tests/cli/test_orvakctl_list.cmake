# orvakctl list on a demo installation: the declared lists as TSV and PDF, and the
# refusals of a wrong call (before anything is touched) and of a failing query.
set(W "${WORK}/orvakctl-list")
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
endfunction()

# The names need no installation; a wrong call is refused before one is looked for.
run(0 "${W}/empty" list)
foreach(name program-users family-users backup-history)
  if(NOT OUT MATCHES "(^|\n)${name}\n")
    message(SEND_ERROR "list does not name ${name}: '${OUT}'")
  endif()
endforeach()
foreach(call "no-such-list" "program-users;--param;ProgId" "program-users;--param;=3"
             "program-users;--param;NoSuch=1" "program-users;--param;ProgId=abc" "program-users;--pdf"
             "program-users;--sort;UCode" "program-users;family-users" "--param;ProgId=3")
  run(2 "${W}/empty" list ${call})
endforeach()
file(GLOB touched "${W}/empty/*")
if(touched)
  message(SEND_ERROR "a wrong call touched the folder: ${touched}")
endif()

run(0 "${W}" demo --data "${W}/demo" --today 1404/06/01)
set(D "${W}/demo")

run(0 "${D}" list program-users)
if(NOT OUT MATCHES "^کد کاربر\tنام و نام خانوادگي\tمدير\tوضعيت\tسطح ثبت اطلاعات\n3\t[^\t\n]+\tبله\tمجاز\t0\n4\t[^\t\n]+\tخير\tمجاز\t0\n5\t[^\t\n]+\tخير\tمجاز\t1\n6\t[^\t\n]+\tخير\tمجاز\t2\n7\t[^\t\n]+\tخير\tمسدود\t0\n$")
  message(SEND_ERROR "list program-users: '${OUT}'")
endif()
run(0 "${D}" list program-users --param ":ProgId=۹۹")
if(NOT OUT STREQUAL "کد کاربر\tنام و نام خانوادگي\tمدير\tوضعيت\tسطح ثبت اطلاعات\n")
  message(SEND_ERROR "list program-users of program 99 should be the header alone: '${OUT}'")
endif()
run(0 "${D}" list family-users)
if(NOT OUT MATCHES "^کد\tنام\tنام خانوادگي\tسمت\tنوع استخدام\n3\t[^\n]*\t(رسمي|پيماني|قراردادي|شرکتي|ساعتي)\n")
  message(SEND_ERROR "list family-users: '${OUT}'")
endif()

run(0 "${D}" backup --db ORVAK --to one.bak)
run(0 "${D}" list backup-history)
if(NOT OUT MATCHES "^رديف\tنام کاربر\tتاريخ\tساعت\tنوع عمليات\tنام فايل\tمسير\tبانک اطلاعاتي\n1\t\t1[34][0-9][0-9]/[01][0-9]/[0-3][0-9]\t[0-9:]+\tايجاد نسخه پشتيبان\tone.bak\t[^\t]+\tORVAK\n$")
  message(SEND_ERROR "list backup-history: '${OUT}'")
endif()

run(0 "${D}" list program-users --pdf users.pdf)
file(READ "${D}/users.pdf" pdf LIMIT 5)
if(NOT pdf MATCHES "^%PDF-")
  message(SEND_ERROR "list --pdf did not write a PDF: '${pdf}'")
endif()

# A query that fails is a failure, not an empty list.
find_program(SQLITE3 sqlite3)
if(SQLITE3)
  execute_process(COMMAND ${SQLITE3} "${D}/DATA/ORVAK.db" "DROP TABLE HISTORY_RESBACK" RESULT_VARIABLE rc)
  run(1 "${D}" list backup-history)
else()
  message(STATUS "sqlite3 not installed: the failing-query case is left out")
endif()

execute_process(COMMAND ${ORVAKCTL} --help OUTPUT_VARIABLE out)
if(NOT out MATCHES "\n  list ")
  message(SEND_ERROR "orvakctl --help does not list 'list'")
endif()
file(REMOVE_RECURSE "${W}")
