# The desktop program's check mode on a demo installation: every registered screen
# opens off-screen for the manager and for nobody, a clerk is refused the users and
# rights entry (both users screens) through his rights, a blocked user is told so
# and opens nothing, and a failed login fails the check.
set(W "${WORK}/orvak-check-screens")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}")
# The program must choose the off-screen platform itself.
unset(ENV{QT_QPA_PLATFORM})

execute_process(COMMAND ${ORVAKCTL} demo --data "${W}" RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "orvakctl demo failed: ${err}")
endif()

function(check expect_rc)
  execute_process(COMMAND ${ORVAK} --check-screens ${ARGN} WORKING_DIRECTORY "${W}" INPUT_FILE /dev/null
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 120)
  if(NOT rc STREQUAL expect_rc)
    message(SEND_ERROR "orvak --check-screens ${ARGN}: expected rc ${expect_rc}, got ${rc}\n${out}\n${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()

# Every line after the header: menu path, caption, access id, result.
function(expect_all_open label)
  string(REGEX REPLACE "\n$" "" body "${OUT}")
  string(REPLACE "\n" ";" lines "${body}")
  list(POP_FRONT lines header)
  if(NOT header STREQUAL "menu\tcaption\taccess\tresult")
    message(SEND_ERROR "${label}: header '${header}'")
  endif()
  list(LENGTH lines count)
  if(count LESS 7)
    message(SEND_ERROR "${label}: only ${count} screens listed:\n${OUT}")
  endif()
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[^\t]+\t[^\t]+\t[0-9]+\t(ok|refused: .+)$")
      message(SEND_ERROR "${label}: bad line '${line}'")
    endif()
  endforeach()
  set(LINES "${lines}" PARENT_SCOPE)
endfunction()

check(0)
expect_all_open("nobody logged in")
if(OUT MATCHES "refused")
  message(SEND_ERROR "nobody logged in: a screen was refused:\n${OUT}")
endif()

check(0 --user 3 --password 1234)
expect_all_open("manager")
if(NOT OUT MATCHES "\tتنظيمات کلي\t0\tok\n")
  message(SEND_ERROR "manager: the organisation settings did not open:\n${OUT}")
endif()

check(0 --user 4 --password 1111)
expect_all_open("accountant")
if(NOT OUT MATCHES "\tمعرفي کاربران اين نرم افزار و تعيين سطوح دسترسي\t1\trefused: امنيت عبور كاربران: انتخاب مورد نظر براي شما در نظر گرفته نشده است\n")
  message(SEND_ERROR "accountant: the users and rights entry was not refused:\n${OUT}")
endif()
if(NOT OUT MATCHES "\tکاربران اورواک\t1\trefused: امنيت عبور كاربران: انتخاب مورد نظر براي شما در نظر گرفته نشده است\n")
  message(SEND_ERROR "accountant: the family's users screen was not refused through the users entry:\n${OUT}")
endif()

# The guarantees officer (no rights rows) may see both users screens.
check(0 --user 6 --password 3333)
expect_all_open("guarantees officer")
if(NOT OUT MATCHES "\tکاربران اورواک\t1\tok\n" OR NOT OUT MATCHES "\tمعرفي کاربران اين نرم افزار و تعيين سطوح دسترسي\t1\tok\n")
  message(SEND_ERROR "guarantees officer: the users screens did not open for viewing:\n${OUT}")
endif()

# The blocked demo user: the login says so and nothing is opened.
check(1 --user 7 --password 1234)
if(NOT ERR MATCHES "مسدود" OR NOT ERR MATCHES "login failed")
  message(SEND_ERROR "the blocked user was not told he is blocked: '${ERR}'")
endif()
if(NOT OUT STREQUAL "")
  message(SEND_ERROR "the blocked user's check opened screens:\n${OUT}")
endif()

check(1 --user 4 --password wrong)
if(NOT ERR MATCHES "login failed")
  message(SEND_ERROR "a wrong password did not say the login failed: '${ERR}'")
endif()
if(EXISTS "${W}/orvaksepordeh.psw")
  message(SEND_ERROR "the check left a saved-login file behind")
endif()
