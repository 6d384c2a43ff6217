# The Win32 side of the platform seam, and each program's shell over it.
enable_language(RC)
include(${CMAKE_CURRENT_LIST_DIR}/lazy_imports.cmake)

file(GLOB ORVANE_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
# The lazy imports' resolver goes into the programs that use them (orvane_lazy_imports).
list(REMOVE_ITEM ORVANE_WIN32_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/win32_lazy_imports.cpp)
add_library(orvane_win32 STATIC ${ORVANE_WIN32_SOURCES})
target_link_libraries(orvane_win32 PUBLIC orvane_core ole32 oleaut32 uuid wbemuuid advapi32 user32 gdi32)

# Orvane.exe's windows: the result dialog, the About box, the support link.
file(GLOB ORVANE_DIALOG_SOURCES CONFIGURE_DEPENDS src/shell/orvane/*.cpp)
list(REMOVE_ITEM ORVANE_DIALOG_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/shell/orvane/main.cpp)
add_library(orvane_dialog STATIC ${ORVANE_DIALOG_SOURCES})
# The shell and the common controls are loaded when the dialog needs them, not linked:
# a passing run, and the graphics probe's own process, never pay for them.
target_link_libraries(orvane_dialog PUBLIC orvane_win32)

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

add_executable(Orvane WIN32 src/shell/orvane/main.cpp res/orvane.rc)
target_link_libraries(Orvane PRIVATE orvane_dialog)

# Test-only build without the built-in tables.
add_executable(Orvane_no_tables WIN32 src/shell/orvane/main.cpp res/orvane_no_tables.rc)
target_link_libraries(Orvane_no_tables PRIVATE orvane_dialog)

# The same check for administrators' tools: a console program.
add_executable(orvane-check src/shell/orvane_check/check_main.cpp src/shell/orvane_check/win32_console_output.cpp
  src/shell/orvane_check/missing_system_dll.cpp res/orvane_check.rc)
target_link_libraries(orvane-check PRIVATE orvane_win32)

# Loaded on their first use (the import check holds the programs to it).
set(ORVANE_LAZY_DLLS user32.dll gdi32.dll ole32.dll oleaut32.dll shell32.dll comctl32.dll)
foreach(exe Orvane Orvane_no_tables orvane-check)
  target_link_options(${exe} PRIVATE ${ORVANE_WIDE_ENTRY_LINK_OPTIONS})
  orvane_use_version(${exe})
  # Until a run needs them: the graphics probe's process, started first, and
  # a passing run get going without the windows and COM.
  orvane_lazy_imports(${exe} user32 gdi32 ole32 oleaut32)
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/e2e.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/test_product.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/integration.cmake)
