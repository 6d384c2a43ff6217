# The one version of the build: project() in CMakeLists.txt. A program that
# calls orvane_use_version() can #include "orvane_version.h" (generated from
# it) in its sources and its resources. The text is not passed as a definition,
# since windres drops the quotes of a string on its command line.

configure_file(${CMAKE_CURRENT_LIST_DIR}/orvane_version.h.in ${PROJECT_BINARY_DIR}/generated/orvane_version.h @ONLY)

function(orvane_use_version target)
  target_include_directories(${target} PRIVATE ${PROJECT_BINARY_DIR}/generated)
  target_compile_definitions(${target} PRIVATE
    ORVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    ORVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    ORVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH})
endfunction()
