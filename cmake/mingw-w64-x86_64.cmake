# Cross build for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64):
# the same sources, for hosts whose Wine can only run 64-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
