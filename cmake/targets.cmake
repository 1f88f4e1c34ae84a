# The project's target helpers: one library per folder, one GoogleTest program per test folder.

# ostrel_library(NAME folder SOURCES ... DEPS ...): one library per folder, aliased ostrel::NAME.
function(ostrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(ostrel_${name} ${ARG_SOURCES})
  add_library(ostrel::${name} ALIAS ostrel_${name})
  target_include_directories(ostrel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(ostrel_${name} PUBLIC ${ARG_DEPS} PRIVATE ostrel_warnings ${ARG_PRIVATE_DEPS})
endfunction()

# ostrel_test(NAME SOURCES ... DEPS ... [LABELS ...]): a GoogleTest executable registered with CTest.
function(ostrel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main ostrel_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE OSTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()

# ostrel_link_allocator(TARGET): an executable that may load large feeds places its large blocks on
# transparent huge pages (src/allocator/huge_pages.cpp, which says why). Not under the sanitizers,
# which bring their own allocation functions.
function(ostrel_link_allocator target)
  if(OSTREL_SANITIZE OR OSTREL_FUZZ OR OSTREL_TSAN)
    return()
  endif()
  target_link_libraries(${target} PRIVATE ostrel::allocator)
endfunction()
