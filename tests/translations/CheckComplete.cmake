# SPDX-FileCopyrightText: 2026 The Tavolen developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a text in the code has no translation in TS, or TS still holds
# one for a text the code no longer has: lupdate run on a copy of TS marks
# the first "unfinished" and the second "vanished".
#   cmake -DLUPDATE=... -DTS=... -DSOURCE_DIR=... -DWORK=... -P CheckComplete.cmake
file(GLOB_RECURSE sources ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
list(FILTER sources EXCLUDE REGEX "/src/service/")
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${TS} NAME)
set(copy ${WORK}/${name})
file(COPY_FILE ${TS} ${copy})
string(JOIN "\n" list ${sources})
file(WRITE ${WORK}/sources.lst "${list}\n")
execute_process(COMMAND ${LUPDATE} -locations none @${WORK}/sources.lst -ts ${copy}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${result})")
endif()
file(STRINGS ${copy} lines)
set(problems "")
set(source "")
foreach(line IN LISTS lines)
  if(line MATCHES "<source>([^<]*)")
    set(source "${CMAKE_MATCH_1}")
  elseif(line MATCHES "type=\"(unfinished|vanished|obsolete)\"")
    string(APPEND problems "  ${CMAKE_MATCH_1}: ${source}\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "${name} is not up to date with the code; run "
          "`cmake --build build --target update_translations` and translate:\n${problems}")
endif()
message(STATUS "${name}: every text is translated")
