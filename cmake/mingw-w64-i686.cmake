# Cross-compiles for 32-bit Windows (x86) with Debian's mingw-w64: the map
# editor is a 32-bit program, often installed in a 32-bit Wine prefix where
# only 32-bit programs start, and a 32-bit exe runs on 64-bit Windows too.
# Posix threads give GoogleTest its std::mutex; -static keeps winpthread and
# the DWARF unwinder out of DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
