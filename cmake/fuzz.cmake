# libFuzzer targets for the table parsers and loaders: one executable per
# tests/fuzz/fuzz_*.cpp, each run as  <target> -max_total_time=<seconds>.
# Included before the libraries are declared, so every one of them is
# instrumented for coverage and built with the sanitizers.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ORVANE_FUZZ needs clang (CXX=clang++)")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

file(GLOB ORVANE_FUZZ_FAKE_SOURCES CONFIGURE_DEPENDS tests/fakes/*.cpp)
add_library(orvane_fuzz_fakes STATIC ${ORVANE_FUZZ_FAKE_SOURCES})
target_link_libraries(orvane_fuzz_fakes PUBLIC orvane_core)
target_include_directories(orvane_fuzz_fakes PUBLIC tests)

file(GLOB ORVANE_FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/fuzz_*.cpp)
set(ORVANE_FUZZ_TARGETS "")
foreach(source ${ORVANE_FUZZ_SOURCES})
  get_filename_component(target ${source} NAME_WE)
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE orvane_fuzz_fakes)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  list(APPEND ORVANE_FUZZ_TARGETS ${target})
endforeach()
add_custom_target(orvane_fuzz_targets DEPENDS ${ORVANE_FUZZ_TARGETS})
