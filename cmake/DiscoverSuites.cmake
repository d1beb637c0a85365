# Run after a test program is linked: lists its tests and writes one ctest test
# per suite, which runs the suite's tests in one process. Starting a sanitized
# program costs about as much as a short test, so a process per test doubled
# the test stage.
#
#   -D EXECUTABLE=... -D NAME=... -D OUTPUT=... -D TIMEOUT=...
# Writes OUTPUT (the ctest script) and OUTPUT.cases (how many tests it lists).

execute_process(COMMAND "${EXECUTABLE}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 120)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "${EXECUTABLE} --gtest_list_tests failed (${result}):\n${errors}")
endif()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(script "")
set(suite "")
set(cases 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    set(suite "${CMAKE_MATCH_1}")
    set(test "${NAME}/${suite}")
    string(APPEND script
      "add_test([==[${test}]==] [==[${EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([==[${test}]==] PROPERTIES TIMEOUT ${TIMEOUT})\n")
  elseif(line MATCHES "^  [^ ]" AND NOT suite STREQUAL "")
    math(EXPR cases "${cases} + 1")
  endif()
endforeach()

file(WRITE "${OUTPUT}" "${script}")
file(WRITE "${OUTPUT}.cases" "${cases}\n")
