# orvakctl backup and restore with --user: the user logs in through core (a wrong
# password and a blocked user are refused) and acts with his rights; without --user
# they stay the server administrator's tools.
set(W "${WORK}/orvakctl-rights")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}")

execute_process(COMMAND ${ORVAKCTL} demo --data "${W}" RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "orvakctl demo failed: ${err}")
endif()
file(MAKE_DIRECTORY "${W}/bk")

include(${CMAKE_CURRENT_LIST_DIR}/CliRun.cmake)

set(REFUSED "امنيت عبور کاربران : عدم امکان دسترسي به عمليات / منوي مورد نظر")

# Wrong calls, before anything is touched.
run(2 "${W}" backup --db ORVAKSEPC0 --to bk/x.bak --password 1234)
run(2 "${W}" restore --db ORVAKSEPC0 --from bk/x.bak --user 3)
if(EXISTS "${W}/bk/x.bak")
  message(SEND_ERROR "a wrong call made a backup")
endif()

# The administrator, then users by their rights.
run(0 "${W}" backup --db ORVAKSEPC0 --to bk/admin.bak)
run(0 "${W}" backup --db ORVAKSEPC0 --to bk/manager.bak --user 3 --password 1234)
run(0 "${W}" backup --db ORVAKSEPC0 --to bk/reviewer.bak --user 5 --password 2222)   # the entry seen: allowed
run(1 "${W}" backup --db ORVAKSEPC0 --to bk/wrong.bak --user 3 --password 9999)
if(NOT ERR MATCHES "كلمه رمز اشتباه است" OR EXISTS "${W}/bk/wrong.bak")
  message(SEND_ERROR "a wrong password was not refused: '${ERR}'")
endif()
run(1 "${W}" backup --db ORVAKSEPC0 --to bk/blocked.bak --user 7 --password 1234)
if(NOT ERR MATCHES "مسدود" OR EXISTS "${W}/bk/blocked.bak")
  message(SEND_ERROR "the blocked user was not refused: '${ERR}'")
endif()

# A restore needs the special right or the manager flag.
run(0 "${W}" history)
set(before "${OUT}")
foreach(user "4;1111" "6;3333")
  list(GET user 0 code)
  list(GET user 1 password)
  run(1 "${W}" restore --db ORVAKSEPC0 --from bk/admin.bak --yes --user ${code} --password ${password})
  if(NOT ERR MATCHES "${REFUSED}")
    message(SEND_ERROR "restore by user ${code} was not refused: '${ERR}'")
  endif()
endforeach()
run(0 "${W}" history)
if(NOT OUT STREQUAL before)
  message(SEND_ERROR "a refused restore left history rows:\n${OUT}")
endif()
run(0 "${W}" restore --db ORVAKSEPC0 --from bk/admin.bak --yes --user 3 --password 1234)
run(0 "${W}" history)
if(NOT OUT MATCHES "\t3\n$")
  message(SEND_ERROR "the manager's restore was not recorded as his: '${OUT}'")
endif()
run(0 "${W}" restore --db ORVAKSEPC0 --from bk/admin.bak --yes)

# Backups are their owner's only.
if(UNIX)
  execute_process(COMMAND stat -c %a "${W}/bk/manager.bak" OUTPUT_VARIABLE mode OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT mode STREQUAL "600")
    message(SEND_ERROR "the backup file is readable by others: mode ${mode}")
  endif()
endif()
file(REMOVE_RECURSE "${W}")
