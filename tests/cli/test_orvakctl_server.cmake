# orvakctl's set-up, update, backup and restore on a fresh local data folder, and
# its answers to a missing or broken connection file and to wrong input.
set(W "${WORK}/orvakctl-server")
file(REMOVE_RECURSE "${W}")
file(MAKE_DIRECTORY "${W}")

include(${CMAKE_CURRENT_LIST_DIR}/CliRun.cmake)

# A wrong call is refused with the usage (exit 2) before anything is written: the
# empty folder stays empty, the demo's folder is not even made.
foreach(call "demo;--data;d;--today;1403/13/40" "demo;--data;d;--today" "demo;--data;d;--today;--scale;2"
             "demo;--data;d;--scale;abc" "demo;--data;d;--scale;0" "demo;--data;d;--scale;99999999999999999999"
             "demo;--data;d;--seed;-1" "demo;--data;d;--colour;red" "demo;--today;1403/01/01" "demo;--data;d;extra"
             "demo;--data=d;--scale=1e3" "demo;--data;d;--today;1301/01/01" "demo;--data;d;--data;e" "demo;--data;"
             "section;9" "section;x" "section;1;2" "section;--yes=1;0" "section" "section;-0"
             "accounting-year;1400;--section;9" "accounting-year;1400;--section" "accounting-year;abc"
             "accounting-year;99999999999999999999" "year;13a0" "year;۱۴۰۳۰"
             "init;--data;DATA" "init;--data;DATA;--password;p;--installation;0" "init;--data;DATA;--password;p;--installation;abc"
             "init;--data;DATA;--password" "connect;--data;DATA;--password;p;--sqlver;x" "backup;--db;ORVAK"
             "backup;--db;ORVAK;--to;x.bak;--colour;red" "restore;--db;ORVAK;--from;x.bak;--yes=no"
             "backup;--to;bk" "backup;--all-sections;--db;ORVAK;--to;bk" "backup;--db;ORVAK;--to;x.bak;--year;1400"
             "backup;--all-sections;--to;bk;--year;1200" "backup;--db;ORVAK;--to;x.bak;--compress=yes"
             "audit;--since;1403/13/01" "audit;--user;someone" "audit;--bogus" "update;--db"
             "databases;--yes" "history;extra" "list;--param")
  run(2 "${W}" ${call})
  if(NOT ERR MATCHES "usage: orvakctl ")
    message(SEND_ERROR "orvakctl ${call}: the refusal does not show the usage: '${ERR}'")
  endif()
endforeach()
file(GLOB_RECURSE touched LIST_DIRECTORIES true "${W}/*")
if(touched)
  message(SEND_ERROR "a wrong call wrote into the folder: ${touched}")
endif()

# Before any set-up: no site file, then no server.
run(fail "${W}" databases)
run(0 "${W}" init --data DATA --password s3cret --installation 275 --organisation "ذيحسابي نمونه")
if(NOT OUT MATCHES "^3 [0-9]+\n$")
  message(SEND_ERROR "init did not print the first user's code and password: '${OUT}'")
endif()
run(0 "${W}" databases)
if(NOT OUT STREQUAL "ORVAK\n")
  message(SEND_ERROR "databases after init: '${OUT}'")
endif()
run(fail "${W}" connect --data DATA --password wrong)
run(0 "${W}" connect --data DATA --password s3cret)
run(fail "${W}" section 0)                         # the question is answered no
run(0 "${W}" section 0 --yes)
if(NOT OUT STREQUAL "ORVAKSEPC0\n")
  message(SEND_ERROR "section 0: '${OUT}'")
endif()
run(0 "${W}" update)
if(NOT OUT MATCHES "ORVAK: .*\\(no change\\)\nORVAKSEPC0: .*\\(no change\\)")
  message(SEND_ERROR "update of an up-to-date installation changed something: '${OUT}'")
endif()
run(fail "${W}" update --db NOSUCHDB)
run(0 "${W}" section ۱ --yes)                       # digits as typed on a Persian keyboard
if(NOT OUT STREQUAL "ORVAKSEP\n")     # section 1 has no suffix
  message(SEND_ERROR "section ۱: '${OUT}'")
endif()
run(fail "${W}" year 1400)                         # no accounting database of 1400
run(0 "${W}" accounting-year 1400)
if(NOT OUT STREQUAL "ORVAKC275C0Y1400\n")
  message(SEND_ERROR "accounting-year: '${OUT}'")
endif()
run(0 "${W}" year 1400)
run(0 "${W}" year ۱۴۰۰)
run(0 "${W}" accounting-year ١٤٠٠ --section ۰)
run(2 "${W}" accounting-year 1400 --section 9)
run(2 "${W}" section 7)

file(MAKE_DIRECTORY "${W}/bk")
run(0 "${W}" backup --db ORVAKSEPC0 --to bk/one.bak)
run(fail "${W}" backup --db NOSUCHDB --to bk/two.bak)
file(WRITE "${W}/bk/bad.bak" "not a backup")
run(fail "${W}" restore --db ORVAKSEPC0 --from bk/bad.bak --yes)
run(fail "${W}" restore --db ORVAKSEPC0 --from bk/one.bak)   # no answers on the terminal
# Only the installation's own databases, from a backup of the same kind; never
# onto the server's own files.
foreach(name MASTER ../x ORVAK274)
  run(fail "${W}" restore --db ${name} --from bk/one.bak --yes)
endforeach()
run(fail "${W}" restore --db ORVAK --from bk/one.bak --yes)
if(NOT ERR MATCHES "ORVAKSEPC0" OR NOT ERR MATCHES "ORVAK ")
  message(SEND_ERROR "a deposits backup over the common database was not refused by name: '${ERR}'")
endif()
run(fail "${W}" backup --db ORVAK --to DATA/ORVAK.db)
run(fail "${W}" backup --db ORVAKSEPC0 --to DATA/MASTER.db)
run(0 "${W}" databases)
if(NOT OUT STREQUAL "ORVAK\nORVAKC275C0Y1400\nORVAKSEP\nORVAKSEPC0\n")   # ORVAKSEP: section 1, opened above
  message(SEND_ERROR "databases after the refused restores: '${OUT}'")
endif()
run(0 "${W}" restore --db ORVAKSEPC0 --from bk/one.bak --yes)
run(0 "${W}" history)
string(REGEX MATCHALL "\n" rows "${OUT}")
list(LENGTH rows n)
if(NOT n EQUAL 3)
  message(SEND_ERROR "history should hold the backup, the safety copy and the restore: '${OUT}'")
endif()

# Every row written leaves its entry in the change history.
run(0 "${W}" audit --table history_resback)
string(REGEX MATCHALL "\tدرج\t" inserts "${OUT}")
list(LENGTH inserts n)
if(NOT OUT MATCHES "^تاريخ\t" OR NOT n EQUAL 3)
  message(SEND_ERROR "audit of the backup history: '${OUT}'")
endif()
run(0 "${W}" audit --table CurMaliYear --key 1)
if(NOT OUT MATCHES "CurMaliY: - -> 1400")
  message(SEND_ERROR "audit of the chosen year: '${OUT}'")
endif()
# Written without a user, it is the server machine's administrator's: user 0.
run(0 "${W}" audit --user 0 --table history_resback)
string(REGEX MATCHALL "\tدرج\t" inserts "${OUT}")
list(LENGTH inserts n)
if(NOT n EQUAL 3)
  message(SEND_ERROR "audit --user 0 should list the administrator's entries: '${OUT}'")
endif()
run(2 "${W}" audit --since 1403/13/01)
run(2 "${W}" audit --user someone)

# A compressed backup is a zip archive that any archive tool opens, and a restore
# takes it; a damaged or foreign archive is refused and the database stays.
run(0 "${W}" backup --db ORVAKSEPC0 --to bk/two.bak --compress)
run(0 "${W}" backup --db ORVAKSEPC0 --to bk/three.zip)           # the name says zip
foreach(archive two.bak.zip three.zip)
  if(NOT EXISTS "${W}/bk/${archive}")
    message(SEND_ERROR "no archive ${archive}")
  endif()
endforeach()
find_program(UNZIP unzip)
if(UNZIP)
  execute_process(COMMAND ${UNZIP} -t "${W}/bk/two.bak.zip" RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "unzip -t refuses the compressed backup: rc ${rc}")
  endif()
endif()
run(0 "${W}" restore --db ORVAKSEPC0 --from bk/two.bak.zip --yes)
execute_process(COMMAND head -c 2000 "${W}/bk/two.bak.zip" OUTPUT_FILE "${W}/bk/cut.zip")
run(1 "${W}" restore --db ORVAKSEPC0 --from bk/cut.zip --yes)
if(NOT ERR MATCHES "خراب است")
  message(SEND_ERROR "a cut archive was not refused as damaged: '${ERR}'")
endif()
find_program(ZIP zip)
if(ZIP)
  execute_process(COMMAND ${ZIP} -q bk/letter.zip bk/bad.bak WORKING_DIRECTORY "${W}")
  run(1 "${W}" restore --db ORVAKSEPC0 --from bk/letter.zip --yes)
  if(NOT ERR MATCHES "نسخه پشتيبان اين سيستم را در بر ندارد")
    message(SEND_ERROR "an archive of another file was not refused: '${ERR}'")
  endif()
endif()
# Every section of a year in one go: one line per database, each file whole.
file(MAKE_DIRECTORY "${W}/bk/all")
run(0 "${W}" backup --all-sections --year 1400 --to bk/all --compress)
foreach(db ORVAK ORVAKSEPC0 ORVAKC275C0Y1400)
  if(NOT OUT MATCHES " - ${db}: نسخه پشتيبان تهيه گرديد")
    message(SEND_ERROR "all sections: no line for ${db}: '${OUT}'")
  endif()
endforeach()
if(NOT OUT MATCHES "ORVAKSEPJ: اين بانک اطلاعاتي وجود ندارد")
  message(SEND_ERROR "all sections: a missing database is not reported: '${OUT}'")
endif()
file(GLOB made "${W}/bk/all/*")
list(LENGTH made n)
if(NOT n EQUAL 4)   # ORVAK, ORVAKSEP (section 1), ORVAKSEPC0, ORVAKC275C0Y1400
  message(SEND_ERROR "all sections: ${n} files: ${made}")
endif()
run(0 "${W}" history)
string(REGEX MATCHALL "\n" rows "${OUT}")
list(LENGTH rows n)
if(NOT n EQUAL 11)   # before: 3; the two archives, the restore with its safety copy, four sections
  message(SEND_ERROR "history after the compressed backups: '${OUT}'")
endif()

# Two workstations making the same database at the same moment: both succeed,
# and the database has the structure that one alone makes.
function(run_two expect_rc)
  execute_process(COMMAND sh -c "\"$0\" \"$@\" >one.out 2>&1 </dev/null & p=$!; \"$0\" \"$@\" >two.out 2>&1 </dev/null; b=$?; wait $p; echo \"$?;$b\""
                          ${ORVAKCTL} ${ARGN}
                  WORKING_DIRECTORY "${W}" OUTPUT_VARIABLE rcs OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rcs STREQUAL "${expect_rc};${expect_rc}")
    file(READ "${W}/one.out" one)
    file(READ "${W}/two.out" two)
    message(SEND_ERROR "two orvakctl ${ARGN} at once: expected rc ${expect_rc} twice, got '${rcs}':\n${one}\n---\n${two}")
  endif()
endfunction()
find_program(SQLITE3 sqlite3)
# The structure as a set of statements: the catalogue's order depends on which of two
# updates at once made an object first, and an object kept is not moved to the end.
function(schema_of db var)
  execute_process(COMMAND ${SQLITE3} "${W}/DATA/${db}.db" "SELECT sql || ';' FROM sqlite_master WHERE sql IS NOT NULL ORDER BY type, name"
                  OUTPUT_VARIABLE schema RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "schema of ${db}: rc ${rc}")
  endif()
  set(${var} "${schema}" PARENT_SCOPE)
endfunction()
run_two(0 accounting-year 1401)
run_two(0 section 2 --yes)
run_two(0 update)
if(SQLITE3)
  schema_of(ORVAKC275C0Y1400 alone)
  schema_of(ORVAKC275C0Y1401 raced)
  if(NOT alone STREQUAL raced)
    message(SEND_ERROR "accounting databases made alone and at once differ:\n${alone}\n---\n${raced}")
  endif()
  # A deposits database that lost its tables, brought back by two updates at once.
  schema_of(ORVAKSEPC0 before)
  if(NOT before MATCHES "CREATE TABLE")
    message(SEND_ERROR "no schema read from ORVAKSEPC0: '${before}'")
  endif()
  execute_process(COMMAND ${SQLITE3} "${W}/DATA/ORVAKSEPC0.db"
                  "SELECT 'DROP ' || type || ' [' || name || '];' FROM sqlite_master WHERE type IN ('view', 'table') AND name NOT LIKE 'sqlite_%' ORDER BY type DESC"
                  OUTPUT_VARIABLE drops)
  execute_process(COMMAND ${SQLITE3} "${W}/DATA/ORVAKSEPC0.db" "${drops}" RESULT_VARIABLE rc)
  schema_of(ORVAKSEPC0 emptied)
  if(NOT rc EQUAL 0 OR emptied STREQUAL before)
    message(SEND_ERROR "the deposits tables were not dropped: ${rc}")
  endif()
  run_two(0 update --db ORVAKSEPC0)
  schema_of(ORVAKSEPC0 after)
  if(NOT before STREQUAL after)
    message(SEND_ERROR "two updates at once left another structure:\n${before}\n---\n${after}")
  endif()
else()
  message(STATUS "sqlite3 not installed: the structures are not compared")
endif()

# A damaged database file is refused by its name and never made anew.
file(COPY_FILE "${W}/DATA/ORVAKSEPC0.db" "${W}/ORVAKSEPC0.keep")
file(WRITE "${W}/DATA/ORVAKSEPC0.db" "")
run(1 "${W}" update)
if(NOT ERR MATCHES "ORVAKSEPC0\\.db")
  message(SEND_ERROR "update of an empty database file did not name it: '${ERR}'")
endif()
run(1 "${W}" section 0 --yes)
file(SIZE "${W}/DATA/ORVAKSEPC0.db" size)
if(NOT size EQUAL 0)
  message(SEND_ERROR "an empty database file was rebuilt (${size} bytes)")
endif()
file(COPY_FILE "${W}/ORVAKSEPC0.keep" "${W}/DATA/ORVAKSEPC0.db")
run(0 "${W}" update)

# The full check: each database sound; one with a page overwritten is named damaged
# (exit 1, what was found on the error output), the others still sound.
run(0 "${W}" check)
if(NOT OUT MATCHES "(^|\n)ORVAK\tسالم\n" OR NOT OUT MATCHES "ORVAKSEPC0\tسالم")
  message(SEND_ERROR "check of a sound installation: '${OUT}'")
endif()
file(COPY_FILE "${W}/DATA/ORVAKSEPC0.db" "${W}/ORVAKSEPC0.sound")
execute_process(COMMAND python3 -c "import sys; f = open(sys.argv[1], 'r+b'); f.seek(4096 * 6); f.write(bytes([0x55]) * 4096)"
                "${W}/DATA/ORVAKSEPC0.db")
run(1 "${W}" check)
if(NOT OUT MATCHES "ORVAKSEPC0\tآسيب ديده" OR NOT OUT MATCHES "(^|\n)ORVAK\tسالم\n" OR NOT ERR MATCHES "ORVAKSEPC0")
  message(SEND_ERROR "check of a damaged database: '${OUT}' '${ERR}'")
endif()
run(0 "${W}" check --db ORVAK)
run(1 "${W}" check --db NOSUCH)
file(COPY_FILE "${W}/ORVAKSEPC0.sound" "${W}/DATA/ORVAKSEPC0.db")

# Read-only commands find a data folder and leave a missing one missing.
file(RENAME "${W}/DATA" "${W}/DATA.away")
foreach(cmd databases history audit)
  run(1 "${W}" ${cmd})
  if(NOT ERR MATCHES "پوشه داده ها يافت نشد")
    message(SEND_ERROR "${cmd} without the data folder: '${ERR}'")
  endif()
endforeach()
run(1 "${W}" list program-users)
if(EXISTS "${W}/DATA")
  message(SEND_ERROR "a read-only command made the data folder")
endif()
file(RENAME "${W}/DATA.away" "${W}/DATA")
file(RENAME "${W}/DATA/MASTER.db" "${W}/MASTER.away")
run(1 "${W}" databases)
if(NOT ERR MATCHES "MASTER\\.db" OR EXISTS "${W}/DATA/MASTER.db")
  message(SEND_ERROR "a folder without MASTER.db: '${ERR}'")
endif()
file(RENAME "${W}/MASTER.away" "${W}/DATA/MASTER.db")
run(1 "${W}" connect --data DATA --password wrong)
file(READ "${W}/site.ini" site)
string(REPLACE "InstallationNumber=275" "InstallationNumber=276" other "${site}")
file(WRITE "${W}/site.ini" "${other}")
run(1 "${W}" databases)
if(NOT ERR MATCHES "نصب شماره 275")
  message(SEND_ERROR "the data of another installation: '${ERR}'")
endif()
file(WRITE "${W}/site.ini" "${site}")
run(0 "${W}" databases)

# A broken connection file is reported, not guessed at.
file(WRITE "${W}/SERVER.INI" "garbage")
run(fail "${W}" databases)
if(NOT ERR MATCHES "SERVER.INI")
  message(SEND_ERROR "a corrupt SERVER.INI was not named: '${ERR}'")
endif()
file(REMOVE "${W}/SERVER.INI")
run(fail "${W}" databases)                         # an empty one is written: no server yet
if(NOT EXISTS "${W}/SERVER.INI")
  message(SEND_ERROR "a missing SERVER.INI was not written empty")
endif()
file(REMOVE_RECURSE "${W}")
