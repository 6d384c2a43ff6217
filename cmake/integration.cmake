# Integration tests: the real probes in-process under Wine (the OpenGL part
# needs an X display and skips without one), and a small program that times
# each probe for scripts/bench-probes.sh.

set(ORVANE_INTEGRATION_DIR ${CMAKE_CURRENT_LIST_DIR}/../tests/integration)
if(CMAKE_CROSSCOMPILING)
  set(ORVANE_GTEST_MAIN gtest_main)
else()
  set(ORVANE_GTEST_MAIN GTest::gtest_main)
endif()

add_executable(orvane_integration_tests ${ORVANE_INTEGRATION_DIR}/probes_integration_test.cpp)
# opengl32 only here, to see that the probe left no context current.
target_link_libraries(orvane_integration_tests PRIVATE orvane_dialog opengl32 GTest::gtest ${ORVANE_GTEST_MAIN})
target_compile_definitions(orvane_integration_tests PRIVATE
  ORVANE_RES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/res")
add_test(NAME integration COMMAND orvane_integration_tests)
set_tests_properties(integration PROPERTIES TIMEOUT 600)

add_executable(orvane_probe_bench ${ORVANE_INTEGRATION_DIR}/probe_bench_main.cpp ${ORVANE_INTEGRATION_DIR}/probe_bench.rc)
target_link_libraries(orvane_probe_bench PRIVATE orvane_win32)
# The .rc names the built-in query table and resource.h from res/.
target_include_directories(orvane_probe_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/res)
set_source_files_properties(${ORVANE_INTEGRATION_DIR}/probe_bench.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/res/OrvaneWMI.csv;${CMAKE_CURRENT_SOURCE_DIR}/res/resource.h")

# The WMI worker started and answered over and over, for scripts/stress.sh.
add_executable(orvane_worker_cycles ${ORVANE_INTEGRATION_DIR}/worker_cycles_main.cpp)
target_link_libraries(orvane_worker_cycles PRIVATE orvane_win32)
