# The folders of the program, each one library. A library declares the
# libraries it uses (DEPS of tarvel_library); that graph, followed
# transitively, is all its files may include. The layers test
# (cmake/CheckLayers.py) checks every include on each ctest run.
#
# Production folders, in build order: a library may declare only libraries of
# folders before it, so the graph has no cycle.
set(TARVEL_FOLDERS
  platform/base
  platform/gdi
  platform/serial
  platform/system
  platform/db
  platform/winsys
  platform/winsys/headless
  platform/winsys/sdl
  platform/classlib
  skin/core
  skin/themes
  skin/forms
  skin/controls
  skin/extctrls
  skin/extras
  link
  telemetry
  captions
  adjust
  records
  app
  tools/bms-sim
  tools/skingen
)

# Folders of test-only libraries (tarvel_test_library): tests and benchmarks
# use them; no production library may.
set(TARVEL_TEST_FOLDERS
  platform/classlib/testing
)

define_property(TARGET PROPERTY TARVEL_FOLDER BRIEF_DOCS "source folder" FULL_DOCS "source folder")
define_property(TARGET PROPERTY TARVEL_TEST_ONLY BRIEF_DOCS "test-only library" FULL_DOCS "test-only library")
set_property(GLOBAL PROPERTY TARVEL_GRAPH "")

function(tarvel_add_library name test_only deps libs extra_sources)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(test_only)
    set(kind test)
    set(list_name TARVEL_TEST_FOLDERS)
  else()
    set(kind production)
    set(list_name TARVEL_FOLDERS)
  endif()
  if(NOT folder IN_LIST ${list_name})
    message(FATAL_ERROR "${folder} is not in ${list_name} (cmake/Layers.cmake)")
  endif()
  foreach(dep IN LISTS deps)
    if(NOT TARGET ${dep})
      message(FATAL_ERROR "${name} (${folder}) may not use ${dep}: it is not a library of a folder built before it")
    endif()
    get_target_property(dep_test_only ${dep} TARVEL_TEST_ONLY)
    if(dep_test_only AND NOT test_only)
      message(FATAL_ERROR "${name} (${folder}) may not use the test-only library ${dep}")
    endif()
  endforeach()
  string(JOIN " " dep_text ${deps})
  set_property(GLOBAL APPEND_STRING PROPERTY TARVEL_GRAPH "${name}\t${folder}\t${kind}\t${dep_text}\n")

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources AND NOT extra_sources)
    # A folder that has only headers so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${deps} ${libs})
  else()
    add_library(${name} STATIC ${sources} ${extra_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${deps} ${libs})
    tarvel_library_settings(${name})
    tarvel_precompile(${name} library)
  endif()
  set_target_properties(${name} PROPERTIES TARVEL_FOLDER ${folder} TARVEL_TEST_ONLY ${test_only})
endfunction()

# Clang loads a precompiled header lazily, which takes about a third off a
# file's compile time here; GCC's cost about what they save, so only clang
# builds precompile. Only outside headers go in: a project header there would
# let a file use what its layer may not include. Each kind of target (library,
# test) shares one header, built by a target with the same flags.
set(TARVEL_PCH_HEADERS
  <algorithm> <array> <chrono> <cstdint> <cstring> <deque> <filesystem> <functional> <limits> <map>
  <memory> <optional> <set> <span> <sstream> <string> <string_view> <unordered_map> <utility> <vector>)

function(tarvel_precompile target kind)
  if(NOT TARVEL_PCH OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  set(donor tarvel_pch_${kind})
  if(NOT TARGET ${donor})
    set(anchor ${PROJECT_BINARY_DIR}/pch/${kind}.cpp)
    file(CONFIGURE OUTPUT ${anchor} CONTENT "")
    add_library(${donor} OBJECT ${anchor})
    target_include_directories(${donor} PRIVATE ${PROJECT_SOURCE_DIR})
    # No time stamp in the header, so ccache can reuse what was compiled with it.
    target_compile_options(${donor} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
    if(kind STREQUAL "test")
      tarvel_test_settings(${donor})
      target_precompile_headers(${donor} PRIVATE ${TARVEL_PCH_HEADERS} <gtest/gtest.h> <gmock/gmock.h>)
    else()
      tarvel_library_settings(${donor})
      target_precompile_headers(${donor} PRIVATE ${TARVEL_PCH_HEADERS})
    endif()
  endif()
  target_precompile_headers(${target} REUSE_FROM ${donor})
endfunction()

# What every library's own files are compiled with.
function(tarvel_library_settings target)
  if(TARVEL_FUZZ)
    # Coverage for the fuzzers; the test programs link the same objects.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# What every test program's own files are compiled and linked with.
function(tarvel_test_settings target)
  target_link_libraries(${target} PRIVATE GTest::gmock GTest::gtest)
  separate_arguments(test_flags UNIX_COMMAND "${TARVEL_TEST_CXX_FLAGS}")
  target_compile_options(${target} PRIVATE ${test_flags})
  target_compile_definitions(${target} PRIVATE
    TARVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TARVEL_BINARY_DIR="${PROJECT_BINARY_DIR}")
endfunction()

# tarvel_library(NAME name [DEPS project libraries...] [LIBS outside libraries...])
# Builds every .cpp of the current folder into one static library.
function(tarvel_library)
  cmake_parse_arguments(A "" "NAME" "DEPS;LIBS;SOURCES" ${ARGN})
  tarvel_add_library(${A_NAME} FALSE "${A_DEPS}" "${A_LIBS}" "${A_SOURCES}")
endfunction()

# tarvel_test_library(...): the same for a library only tests may use.
function(tarvel_test_library)
  cmake_parse_arguments(A "" "NAME" "DEPS;LIBS;SOURCES" ${ARGN})
  tarvel_add_library(${A_NAME} TRUE "${A_DEPS}" "${A_LIBS}" "${A_SOURCES}")
endfunction()

# Writes the declared graph for the layers test and adds that test, with
# probes of the layer and format checkers on small trees of their own and of
# install-deps on stand-ins for the system's commands. Called
# once, after every library is declared.
function(tarvel_tree_tests)
  get_property(graph GLOBAL PROPERTY TARVEL_GRAPH)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/layers.tsv CONTENT "${graph}")
  if(NOT TARVEL_TESTS)
    return()
  endif()
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME layers COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.py
           ${PROJECT_BINARY_DIR}/layers.tsv ${PROJECT_SOURCE_DIR})
  add_test(NAME layers_probe COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/cmake/CheckLayersTest.py)
  set_tests_properties(layers layers_probe PROPERTIES LABELS cmake TIMEOUT 120)
  add_test(NAME check_format_probe COMMAND bash ${PROJECT_SOURCE_DIR}/tests/scripts/CheckFormatTest.sh)
  add_test(NAME install_deps_probe COMMAND bash ${PROJECT_SOURCE_DIR}/tests/scripts/InstallDepsTest.sh)
  set_tests_properties(check_format_probe install_deps_probe PROPERTIES LABELS scripts TIMEOUT 120)
endfunction()

# Every test of the current tests folder carries two labels: its folder
# (platform/classlib) and its area (platform), so `ctest -L skin` runs one area.
function(tarvel_test_labels)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" area "${folder}")
  if(area STREQUAL folder)
    set_property(DIRECTORY APPEND PROPERTY LABELS ${area})
  else()
    set_property(DIRECTORY APPEND PROPERTY LABELS ${area} ${folder})
  endif()
endfunction()

# One ctest test per GoogleTest suite of a test program, found after each link
# (cmake/DiscoverSuites.cmake); `ctest -R Suite` still picks one suite.
#   tarvel_discover_suites(target [TEST prefix] [TIMEOUT s] [LABELS ...] [SKIP_RETURN_CODE n] [COST c])
# Each suite leaves its GoogleTest XML report under gtest/ in the build
# folder, where scripts/test counts the skipped tests.
function(tarvel_discover_suites target)
  cmake_parse_arguments(A "" "TEST;TIMEOUT;SKIP_RETURN_CODE;COST;RESOURCE_LOCK" "LABELS" ${ARGN})
  if(NOT A_TEST)
    set(A_TEST ${target})
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 600)
  endif()
  set(options -D TIMEOUT=${A_TIMEOUT})
  if(A_LABELS)
    string(JOIN "|" labels ${A_LABELS})
    list(APPEND options -D LABELS=${labels})
  endif()
  foreach(property SKIP_RETURN_CODE COST RESOURCE_LOCK)
    if(DEFINED A_${property})
      list(APPEND options -D ${property}=${A_${property}})
    endif()
  endforeach()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D EXECUTABLE=$<TARGET_FILE:${target}> -D NAME=${A_TEST}
            -D OUTPUT=${script} -D RESULTS=${PROJECT_BINARY_DIR}/gtest ${options}
            -P ${PROJECT_SOURCE_DIR}/cmake/DiscoverSuites.cmake
    VERBATIM)
  # A program a build leaves out (the tsan build makes only some) stands as
  # one failing test, labelled like its suites so the same filters leave it out.
  set(placeholder "")
  if(A_LABELS)
    string(JOIN "\\;" labels ${A_LABELS})
    set(placeholder "  set_tests_properties([==[${A_TEST}_NOT_BUILT]==] PROPERTIES LABELS \"${labels}\")\n")
  endif()
  set(include ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  file(WRITE ${include}
    "if(EXISTS [==[${script}]==])\n"
    "  include([==[${script}]==])\n"
    "else()\n"
    "  add_test([==[${A_TEST}_NOT_BUILT]==] [==[${A_TEST}_NOT_BUILT]==])\n"
    "${placeholder}"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include})
endfunction()

# tarvel_test(NAME name [LIBS ...]): one GoogleTest program from every .cpp of
# the current tests folder whose name does not start with fuzz_.
function(tarvel_test)
  cmake_parse_arguments(A "" "NAME" "LIBS;SOURCES" ${ARGN})
  if(NOT TARVEL_TESTS)
    return()
  endif()
  tarvel_test_labels()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/fuzz_[^/]*\\.cpp$")
  if(NOT sources AND NOT A_SOURCES)
    return()
  endif()
  add_executable(${A_NAME} ${sources} ${A_SOURCES})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} GTest::gtest_main)
  tarvel_test_settings(${A_NAME})
  tarvel_precompile(${A_NAME} test)
  tarvel_discover_suites(${A_NAME})
endfunction()

# tarvel_xvfb_test(NAME program SOURCES ... LIBS ... [TEST name] [LABELS ...]
#                  [DEPENDS targets...]): a test program on a real X server
# through the SDL backend, one ctest test per suite named TEST/Suite. Each
# suite starts its own Xvfb with the SDL backend tests' helper and skips (77)
# when Xvfb cannot start. The limit holds on a loaded two-core machine: every
# suite needs at most a quarter of it alone, and a slower one is split.
set(TARVEL_XVFB_TIMEOUT 600)
function(tarvel_xvfb_test)
  cmake_parse_arguments(A "" "NAME;TEST" "SOURCES;LIBS;LABELS;DEPENDS" ${ARGN})
  if(NOT TARVEL_TESTS)
    return()
  endif()
  if(NOT TARGET PkgConfig::TARVEL_X11)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(TARVEL_X11 REQUIRED IMPORTED_TARGET GLOBAL x11 xtst xfixes)
  endif()
  add_executable(${A_NAME} ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/platform/winsys/sdl/xvfb/XServerFixture.cpp)
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} platform_winsys_sdl PkgConfig::TARVEL_X11)
  tarvel_test_settings(${A_NAME})
  tarvel_precompile(${A_NAME} test)
  if(A_DEPENDS)
    add_dependencies(${A_NAME} ${A_DEPENDS})
  endif()
  if(NOT A_TEST)
    set(A_TEST ${A_NAME})
  endif()
  # The slowest tests first, so a long suite does not start last on CI. The
  # suites of one program take turns: each brings up an X server, the tool's
  # windows and pseudo-terminals, and side by side on a loaded machine they
  # starved each other past their waits.
  tarvel_discover_suites(${A_NAME} TEST ${A_TEST} TIMEOUT ${TARVEL_XVFB_TIMEOUT} LABELS xvfb ${A_LABELS}
                         SKIP_RETURN_CODE 77 COST 1000 RESOURCE_LOCK ${A_NAME})
endfunction()

# tarvel_fuzz(NAME name SOURCES file.cpp LIBS ...): a libFuzzer target, built
# only when TARVEL_FUZZ is on (the test build). scripts/test runs every one for a bounded time.
function(tarvel_fuzz)
  cmake_parse_arguments(A "" "NAME" "LIBS;SOURCES" ${ARGN})
  if(NOT TARVEL_FUZZ)
    return()
  endif()
  add_executable(${A_NAME} ${A_SOURCES})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
  target_compile_options(${A_NAME} PRIVATE -fsanitize=fuzzer-no-link)
  target_link_options(${A_NAME} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${A_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzzers)
  add_dependencies(fuzzers ${A_NAME})
endfunction()

# tarvel_bench(NAME name LIBS ...): one Google Benchmark program from every
# .cpp of the current bench folder.
function(tarvel_bench)
  cmake_parse_arguments(A "" "NAME" "LIBS;SOURCES" ${ARGN})
  if(NOT TARVEL_BENCH)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources AND NOT A_SOURCES)
    return()
  endif()
  add_executable(${A_NAME} ${sources} ${A_SOURCES})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
