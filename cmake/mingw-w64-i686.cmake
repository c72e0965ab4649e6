# Cross-compiles for 32-bit Windows (x86) with Debian's mingw-w64: the map
# editor is a 32-bit program, often installed in a 32-bit Wine prefix where
# only 32-bit programs start, and a 32-bit exe runs on 64-bit Windows too.
# The link's -static keeps winpthread and the DWARF unwinder out of DLLs.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TAVREL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
