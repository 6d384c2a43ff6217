# End-to-end tests: one GoogleTest program that drives the real Orvane.exe
# under Wine, and the look at the executable's import table. Also gives every
# test that runs under Wine the environment it needs.

file(GLOB ORVANE_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/*.cpp)
# The JSON oracle is the program's own reader; it and its UTF-8 helper come as sources, not the core.
add_executable(orvane_e2e_tests ${ORVANE_E2E_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/../tests/fakes/strict_json.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/recording/json_reader.cpp ${CMAKE_CURRENT_LIST_DIR}/../src/encoding/utf8_encoding.cpp)
target_include_directories(orvane_e2e_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests ${CMAKE_CURRENT_LIST_DIR}/../src)
# The recorded machines are read from the source tree, through Wine's Z: drive.
target_compile_definitions(orvane_e2e_tests PRIVATE ORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# GoogleTest built from source in the cross build, the installed package elsewhere.
target_link_libraries(orvane_e2e_tests PRIVATE
  $<IF:$<TARGET_EXISTS:gtest>,gtest,GTest::gtest>
  $<IF:$<TARGET_EXISTS:gtest_main>,gtest_main,GTest::gtest_main>
  shell32 advapi32 user32 gdi32)
# A stand-in opengl32.dll that answers, hangs or crashes as a test says; in a
# folder of its own, so that no program of the build loads it by chance.
add_library(StandInOpenGl32 SHARED ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/stand_in_gl/stand_in_opengl32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/stand_in_gl/stand_in_opengl32.def)
set_target_properties(StandInOpenGl32 PROPERTIES OUTPUT_NAME opengl32 PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stand-in-gl)
# The tests copy these programs; building the tests builds them.
add_dependencies(orvane_e2e_tests Orvane Orvane_no_tables orvane-check StandInOpenGl32)

add_test(NAME e2e COMMAND orvane_e2e_tests --gtest_filter=-E2eWesternLocale.*)
# The same program on a German machine (code page 1252, decimal comma): a Wine child takes its
# locale from the test program, so these cases need a run of their own.
add_test(NAME e2e_western_locale COMMAND orvane_e2e_tests --gtest_filter=E2eWesternLocale.*)

# What the Windows programs are checked against: each must need nothing beside
# itself and take every DLL from System32, in the image format of the build;
# Orvane.exe is a GUI program (subsystem 2), orvane-check.exe a console one (3).
find_program(ORVANE_OBJDUMP NAMES ${CMAKE_OBJDUMP} ${ORVANE_MINGW_TRIPLE}-objdump objdump)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVANE_PE_FORMAT pei-x86-64)
else()
  set(ORVANE_PE_FORMAT pei-i386)
endif()
if(ORVANE_OBJDUMP)
  add_test(NAME imports
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:Orvane> -DOBJDUMP=${ORVANE_OBJDUMP}
            -DFORMAT=${ORVANE_PE_FORMAT} -DSUBSYSTEM=2 "-DLAZY=${ORVANE_LAZY_DLLS}"
            -P ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/imports_check.cmake)
  add_test(NAME imports_orvane_check
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:orvane-check> -DOBJDUMP=${ORVANE_OBJDUMP}
            -DFORMAT=${ORVANE_PE_FORMAT} -DSUBSYSTEM=3 "-DLAZY=${ORVANE_LAZY_DLLS}"
            -P ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/imports_check.cmake)
endif()

# The version resource of each shipped program, against project()'s version.
function(orvane_add_version_test target)
  add_test(NAME version_${target}
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${target}> -DWINDRES=${CMAKE_RC_COMPILER}
            -DVERSION=${PROJECT_VERSION} -DNAME=$<TARGET_FILE_NAME:${target}>
            -P ${PROJECT_SOURCE_DIR}/tests/e2e/version_check.cmake)
endfunction()
orvane_add_version_test(Orvane)
orvane_add_version_test(Orvane_no_tables)

# A desktop folder whose report file refuses every byte, for the case of a
# report that cannot be written: the file is a link to /dev/full, named for the
# computer name that case gives the prefix (ORVANE-E2E).
if(CMAKE_HOST_UNIX AND EXISTS /dev/full)
  set(ORVANE_FULL_DESKTOP ${CMAKE_CURRENT_BINARY_DIR}/e2e-full-desktop)
  file(MAKE_DIRECTORY ${ORVANE_FULL_DESKTOP})
  file(CREATE_LINK /dev/full "${ORVANE_FULL_DESKTOP}/Orvane[ORVANE-E2E].txt" SYMBOLIC)
endif()

# The display the Wine tests use. Empty: the one in ctest's own environment.
set(ORVANE_TEST_DISPLAY "" CACHE STRING "X display for the tests run under Wine (empty: inherit DISPLAY)")

# Run once the whole tree is read, so that tests and targets defined by files
# included after this one (the unit suite, the integration suite, the test
# product) are there to be wired.
function(orvane_wire_wine_tests)
  if(TARGET orvane-check)
    orvane_add_version_test(orvane-check)
  endif()
  set(environment "LC_ALL=ja_JP.UTF-8" "LANG=ja_JP.UTF-8")
  if(ORVANE_TEST_DISPLAY)
    list(APPEND environment "DISPLAY=${ORVANE_TEST_DISPLAY}")
  endif()

  set(e2e_environment ${environment}
    "ORVANE_EXE=$<TARGET_FILE:Orvane>"
    "ORVANE_NO_TABLES_EXE=$<TARGET_FILE:Orvane_no_tables>"
    "ORVANE_CHECK_EXE=$<TARGET_FILE:orvane-check>"
    "ORVANE_STAND_IN_OPENGL32=$<TARGET_FILE:StandInOpenGl32>")
  if(ORVANE_FULL_DESKTOP)
    list(APPEND e2e_environment "ORVANE_FULL_DESKTOP=${ORVANE_FULL_DESKTOP}")
  endif()
  if(TARGET TestProduct)
    list(APPEND e2e_environment "ORVANE_TEST_PRODUCT_EXE=$<TARGET_FILE:TestProduct>")
    add_dependencies(orvane_e2e_tests TestProduct)
  endif()
  set_tests_properties(e2e PROPERTIES TIMEOUT 1500)
  set_property(TEST e2e APPEND PROPERTY ENVIRONMENT ${e2e_environment})
  list(TRANSFORM e2e_environment REPLACE "^(LC_ALL|LANG)=.*" "\\1=de_DE.UTF-8" OUTPUT_VARIABLE western_environment)
  set_property(TEST e2e_western_locale APPEND PROPERTY ENVIRONMENT ${western_environment})

  # Every test run under Wine gets the Japanese locale (code page 932) and
  # the display. All but the unit suite use the prefix's registry, files and
  # windows, and some change them: one at a time.
  get_property(all_tests DIRECTORY PROPERTY TESTS)
  foreach(name IN LISTS all_tests)
    if(name MATCHES "^imports" OR name MATCHES "^version_")
      continue()
    endif()
    if(NOT name MATCHES "^e2e")
      set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${environment})
    endif()
    if(NOT name STREQUAL "unit")
      set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK orvane_wine_prefix)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL orvane_wire_wine_tests)
