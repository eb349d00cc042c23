# run(expect_rc dir args...): orvakctl with the arguments in the folder, its input
# closed; expect_rc is an exit code or "fail" for any failure. A failure must say why.
# OUT and ERR hold what it wrote.
function(run expect_rc dir)
  execute_process(COMMAND ${ORVAKCTL} ${ARGN} WORKING_DIRECTORY "${dir}" INPUT_FILE /dev/null
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(expect_rc STREQUAL "fail")
    if(rc EQUAL 0)
      message(SEND_ERROR "orvakctl ${ARGN}: expected a failure, got rc 0: ${out} ${err}")
    endif()
  elseif(NOT rc EQUAL expect_rc)
    message(SEND_ERROR "orvakctl ${ARGN}: expected rc ${expect_rc}, got ${rc}: ${out} ${err}")
  endif()
  if(NOT rc EQUAL 0 AND err STREQUAL "")
    message(SEND_ERROR "orvakctl ${ARGN}: failed without a message")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()
