# Unit tests: natively against the system GoogleTest, for Windows against its sources.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(ORVANE_GTEST GTest::gtest GTest::gmock)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
  set(ORVANE_GTEST GTest::gtest GTest::gmock)
endif()

file(GLOB ORVANE_FAKE_SOURCES CONFIGURE_DEPENDS tests/fakes/*.cpp)
add_library(orvane_fakes STATIC ${ORVANE_FAKE_SOURCES})
target_link_libraries(orvane_fakes PUBLIC orvane_core)
target_include_directories(orvane_fakes PUBLIC tests)
if(WIN32)
  target_link_libraries(orvane_fakes PUBLIC orvane_win32)  # the worker threads the programs use
endif()

file(GLOB ORVANE_UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(orvane_unit_tests ${ORVANE_UNIT_SOURCES})
target_link_libraries(orvane_unit_tests PRIVATE orvane_fakes ${ORVANE_GTEST} GTest::gtest_main)
if(CMAKE_CROSSCOMPILING)
  target_link_libraries(orvane_unit_tests PRIVATE gtest_main)
endif()
add_test(NAME unit COMMAND orvane_unit_tests)
target_compile_definitions(orvane_unit_tests PRIVATE ORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
if(WIN32)
  target_link_libraries(orvane_unit_tests PRIVATE orvane_win32)
  # Its check runs wait for WMI threads with deadlines of a second or less:
  # not beside the end-to-end suite on a two-core host (scripts/stress.sh
  # shows what load they stand alone).
  set_tests_properties(unit PROPERTIES RUN_SERIAL TRUE)
  # Wine's 64-bit loader ends a program that crashed with exit code 0, which
  # would read as a pass: the suites' own summary decides instead. A run that
  # ends before its summary, or with a failure in it, fails.
  set_tests_properties(unit e2e e2e_western_locale integration environment_win32 PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ tests?\\."
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endif()

# The scripts' choice of the Windows build that runs under Wine on this host.
if(NOT CMAKE_CROSSCOMPILING AND UNIX)
  add_test(NAME wine_bits COMMAND bash ${PROJECT_SOURCE_DIR}/tests/scripts/wine_bits_test.sh)
endif()

# The fleet summary over the core alone, for scripts/bench-summary.sh; built
# with the native tests so that it keeps compiling, run by no test.
if(NOT CMAKE_CROSSCOMPILING AND UNIX)
  add_executable(orvane_summary_bench tests/bench/summary_bench_main.cpp)
  target_link_libraries(orvane_summary_bench PRIVATE orvane_fakes)
  target_compile_definitions(orvane_summary_bench PRIVATE ORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
