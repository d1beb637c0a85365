# The layers of the program. A library may link to, and include from, only
# folders of a lower rank; the configure step fails when one reaches upward.
# Folders of equal rank may not use each other either.
set(TARVEL_LAYERS
  platform/base              0
  platform/gdi              10
  platform/serial           10
  platform/system           10
  platform/db               10
  platform/winsys           20
  platform/winsys/headless  21
  platform/winsys/sdl       21
  platform/classlib         30
  platform/classlib/testing 31
  skin/core                 40
  skin/themes               41
  skin/forms                42
  skin/controls             43
  skin/extctrls             44
  skin/extras               45
  link                      50
  telemetry                 60
  captions                  60
  adjust                    61
  records                   61
  app                       70
  tools/bms-sim             80
  tools/skingen             80
)

set(TARVEL_FOLDERS "")
set(_pairs ${TARVEL_LAYERS})
while(_pairs)
  list(POP_FRONT _pairs _folder _rank)
  list(APPEND TARVEL_FOLDERS ${_folder})
  set(TARVEL_RANK_${_folder} ${_rank})
endwhile()

# The rank of the folder that holds `path` (relative to the source root), or "".
function(tarvel_rank_of path out)
  set(best "")
  set(best_len 0)
  foreach(folder IN LISTS TARVEL_FOLDERS)
    string(LENGTH "${folder}" len)
    if((path STREQUAL folder OR path MATCHES "^${folder}/") AND len GREATER best_len)
      set(best ${TARVEL_RANK_${folder}})
      set(best_len ${len})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# Fails the configure step when a file of `folder` includes a header of a
# folder that is not strictly below it.
function(tarvel_check_includes folder rank)
  file(GLOB files ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  foreach(f IN LISTS files)
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" inc "${line}")
      get_filename_component(inc_dir "${inc}" DIRECTORY)
      if(inc_dir STREQUAL "" OR inc_dir STREQUAL folder)
        continue()
      endif()
      tarvel_rank_of("${inc_dir}" inc_rank)
      if(inc_rank STREQUAL "")
        continue()
      endif()
      if(NOT inc_rank LESS rank)
        message(FATAL_ERROR "${f}: includes \"${inc}\", a layer that is not below ${folder}")
      endif()
    endforeach()
  endforeach()
endfunction()

# tarvel_library(NAME name [DEPS project libraries...] [LIBS outside libraries...])
# Builds every .cpp of the current folder into one static library.
function(tarvel_library)
  cmake_parse_arguments(A "" "NAME" "DEPS;LIBS;SOURCES" ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(rank ${TARVEL_RANK_${folder}})
  if(rank STREQUAL "")
    message(FATAL_ERROR "${folder} is not a folder of the architecture (cmake/Layers.cmake)")
  endif()
  foreach(dep IN LISTS A_DEPS)
    if(NOT TARGET ${dep})
      message(FATAL_ERROR "${A_NAME} (${folder}) may not link to ${dep}: it is not a library of a lower layer")
    endif()
    get_target_property(dep_rank ${dep} TARVEL_RANK)
    if(NOT dep_rank LESS rank)
      message(FATAL_ERROR "${A_NAME} (${folder}) may not link to ${dep}: it is not in a lower layer")
    endif()
  endforeach()
  tarvel_check_includes(${folder} ${rank})

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources AND NOT A_SOURCES)
    # A folder that has only headers so far.
    add_library(${A_NAME} INTERFACE)
    set_target_properties(${A_NAME} PROPERTIES TARVEL_RANK ${rank})
    target_include_directories(${A_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${A_NAME} INTERFACE ${A_DEPS} ${A_LIBS})
    return()
  endif()
  add_library(${A_NAME} STATIC ${sources} ${A_SOURCES})
  set_target_properties(${A_NAME} PROPERTIES TARVEL_RANK ${rank})
  target_include_directories(${A_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${A_NAME} PUBLIC ${A_DEPS} ${A_LIBS})
endfunction()
define_property(TARGET PROPERTY TARVEL_RANK BRIEF_DOCS "layer rank" FULL_DOCS "layer rank")

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
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${A_NAME} PRIVATE
    TARVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TARVEL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${A_NAME} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endfunction()

# tarvel_fuzz(NAME name SOURCES file.cpp LIBS ...): a libFuzzer target, built
# only in the fuzz build. scripts/test runs every one for a bounded time.
function(tarvel_fuzz)
  cmake_parse_arguments(A "" "NAME" "LIBS;SOURCES" ${ARGN})
  if(NOT TARVEL_FUZZ)
    return()
  endif()
  add_executable(${A_NAME} ${A_SOURCES})
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
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
