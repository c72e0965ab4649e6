# Cross-compiles for 64-bit Windows with Debian's mingw-w64. Only for
# scripts/run.sh where the kernel runs no 32-bit programs; what ships, and
# what the Wine tests run everywhere, is the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVREL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
