# orvakctl projects and banks on a demo installation: TSV with its header line, the
# section option checked before anything is read, and the base-data lists by name.
set(W "${WORK}/orvakctl-planbank")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}/empty")

include(${CMAKE_CURRENT_LIST_DIR}/CliRun.cmake)

foreach(call "projects;--section;5" "projects;--section" "projects;extra" "banks;--section;0")
  run(2 "${W}/empty" ${call})
endforeach()

run(0 "${W}" demo --data "${W}/demo" --today 1404/06/01)
set(D "${W}/demo")

run(0 "${D}" projects)
if(NOT OUT MATCHES "^شماره پروژه\tكد موافقتنامه اي پروژه\tنام پروژه\tکد برنامه\tنام برنامه\t[^\n]+\n1\t111\t[^\t\n]+\t1\tطرح [^\n]+\n")
  message(SEND_ERROR "projects: '${OUT}'")
endif()
run(0 "${D}" projects --section ۱)
if(NOT OUT MATCHES "^شماره پروژه\t[^\n]+\tکد طرح\tنام طرح\t[^\n]+\n$")
  message(SEND_ERROR "projects of section 1 (none in the demo): '${OUT}'")
endif()
run(0 "${D}" banks)
if(NOT OUT MATCHES "^کد\tنام بانک\n1\tملي\n2\tملت\n")
  message(SEND_ERROR "banks: '${OUT}'")
endif()
foreach(name plans projects centres bank-names bank-branches office-accounts deposit-accounts provinces supervising-offices branches)
  run(0 "${D}" list ${name})
  if(NOT OUT MATCHES "^[^\n]+\n[0-9]+\t")
    message(SEND_ERROR "list ${name} is empty: '${OUT}'")
  endif()
endforeach()
