# Run after a test program is linked: lists its tests and writes one ctest test
# per suite, which runs the suite's tests in one process. Starting a sanitized
# program costs about as much as a short test, so a process per test doubled
# the test stage.
#
#   -D EXECUTABLE=... -D NAME=... -D OUTPUT=... -D TIMEOUT=... -D RESULTS=...
#   [-D LABELS=a|b]  labels of every suite besides its folder's
#   [-D SKIP_RETURN_CODE=77] [-D COST=...] [-D RESOURCE_LOCK=...]
# Writes OUTPUT (the ctest script) and OUTPUT.cases: one line per suite with
# its ctest name, how many tests it lists and where its run leaves GoogleTest's
# XML report (under RESULTS), for scripts/test to count passed, failed and
# skipped tests from.

execute_process(COMMAND "${EXECUTABLE}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 120)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "${EXECUTABLE} --gtest_list_tests failed (${result}):\n${errors}")
endif()

set(extra "")
if(LABELS)
  string(REPLACE "|" ";" LABELS "${LABELS}")
  string(APPEND extra " LABELS [==[${LABELS}]==]")
endif()
foreach(property SKIP_RETURN_CODE COST RESOURCE_LOCK)
  if(DEFINED ${property})
    string(APPEND extra " ${property} ${${property}}")
  endif()
endforeach()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(script "")
set(table "")
set(suite "")
set(cases 0)
macro(close_suite)
  if(NOT suite STREQUAL "")
    string(APPEND table "${test}\t${cases}\t${report}\n")
  endif()
endmacro()
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    close_suite()
    set(suite "${CMAKE_MATCH_1}")
    set(test "${NAME}/${suite}")
    set(report "${RESULTS}/${NAME}/${suite}.xml")
    set(cases 0)
    string(APPEND script
      "add_test([==[${test}]==] [==[${EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==] "
      "[==[--gtest_output=xml:${report}]==])\n"
      "set_tests_properties([==[${test}]==] PROPERTIES TIMEOUT ${TIMEOUT}${extra})\n")
  elseif(line MATCHES "^  [^ ]" AND NOT suite STREQUAL "")
    math(EXPR cases "${cases} + 1")
  endif()
endforeach()
close_suite()

file(WRITE "${OUTPUT}" "${script}")
file(WRITE "${OUTPUT}.cases" "${table}")
