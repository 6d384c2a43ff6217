# Stand-ins for the end-to-end tests and the pass-path benchmark: a product
# that records how it was started, a launcher that does nothing but start it
# (and one that reads the graphics driver first), and a timer of a failing
# run's way to its dialog.

add_executable(TestProduct WIN32 ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/product/test_product.cpp)
add_executable(BareLauncher WIN32 ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/product/bare_launcher.cpp)
# The same launcher reading the graphics driver first: the floor of the pass path.
add_executable(GraphicsLauncher WIN32 ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/product/bare_launcher.cpp)
target_compile_definitions(GraphicsLauncher PRIVATE ORVANE_PROBE_GRAPHICS_FIRST)
target_link_libraries(GraphicsLauncher PRIVATE orvane_win32)
foreach(exe TestProduct BareLauncher GraphicsLauncher)
  target_link_options(${exe} PRIVATE ${ORVANE_WIDE_ENTRY_LINK_OPTIONS})
endforeach()
add_executable(DialogTimer ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/product/dialog_timer.cpp)

# The Win32 side of the product environment and the launch, against the
# prefix's real profile functions and registry.
add_executable(orvane_environment_win32_tests ${CMAKE_CURRENT_LIST_DIR}/../tests/integration/environment_win32_test.cpp)
target_link_libraries(orvane_environment_win32_tests PRIVATE orvane_win32 gtest gtest_main)
add_test(NAME environment_win32 COMMAND orvane_environment_win32_tests)
