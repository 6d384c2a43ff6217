# Orvane.exe and the Win32 side of the platform seam.
enable_language(RC)

file(GLOB ORVANE_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
list(REMOVE_ITEM ORVANE_WIN32_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/check_main.cpp)
add_library(orvane_win32 STATIC ${ORVANE_WIN32_SOURCES})
target_link_libraries(orvane_win32 PUBLIC orvane_core ole32 oleaut32 uuid wbemuuid comctl32 shell32 advapi32 user32 gdi32)

# Ninja does not follow the .rc's includes: name every file it pulls in.
set(ORVANE_RC_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/res/orvane.rc
  ${CMAKE_CURRENT_SOURCE_DIR}/res/version.rc
  ${PROJECT_BINARY_DIR}/generated/orvane_version.h
  ${CMAKE_CURRENT_SOURCE_DIR}/res/dialogs.rc
  ${CMAKE_CURRENT_SOURCE_DIR}/res/resource.h
  ${CMAKE_CURRENT_SOURCE_DIR}/res/orvane.manifest
  ${CMAKE_CURRENT_SOURCE_DIR}/res/orvane_check.manifest
  ${CMAKE_CURRENT_SOURCE_DIR}/res/orvane.ico
  ${CMAKE_CURRENT_SOURCE_DIR}/res/OrvaneWMI.csv
  ${CMAKE_CURRENT_SOURCE_DIR}/res/OrvaneSPC.csv)
set_source_files_properties(res/orvane.rc res/orvane_no_tables.rc res/orvane_check.rc PROPERTIES OBJECT_DEPENDS "${ORVANE_RC_DEPENDS}")

add_executable(Orvane WIN32 src/platform/win32/main.cpp res/orvane.rc)
target_link_libraries(Orvane PRIVATE orvane_win32)

# Test-only build without the built-in tables.
add_executable(Orvane_no_tables WIN32 src/platform/win32/main.cpp res/orvane_no_tables.rc)
target_link_libraries(Orvane_no_tables PRIVATE orvane_win32)

# The same check for administrators' tools: a console program.
add_executable(orvane-check src/platform/win32/check_main.cpp res/orvane_check.rc)
target_link_libraries(orvane-check PRIVATE orvane_win32)

foreach(exe Orvane Orvane_no_tables orvane-check)
  target_link_options(${exe} PRIVATE ${ORVANE_WIDE_ENTRY_LINK_OPTIONS})
  orvane_use_version(${exe})
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/e2e.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/test_product.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/integration.cmake)
