# Cross-compiles for 32-bit Windows (x86) with Debian's mingw-w64: the map
# editor is a 32-bit program, often installed in a 32-bit Wine prefix where
# only 32-bit programs start, and a 32-bit exe runs on 64-bit Windows too.
# The link's -static keeps winpthread and the DWARF unwinder out of DLLs.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TAVREL_MINGW_TRIPLE i686-w64-mingw32)
# Floating point in SSE2 registers, as in the 64-bit build and as MSVC builds
# for Win32 by default (/arch:SSE2): on the x87 unit a double returned from a
# function keeps 80 bits, so a time compared with a stored one could come out
# later while the two stored values were equal. Windows 7 and later need SSE2
# anyway. A variable rather than CMAKE_CXX_FLAGS_INIT, so that build folders
# configured before get it too.
set(TAVREL_TARGET_COMPILE_OPTIONS -msse2 -mfpmath=sse)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
