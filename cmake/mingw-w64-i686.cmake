# Cross-compiles msgcode for 32-bit Windows with Debian's mingw-w64
# toolchain (package g++-mingw-w64-i686): the 32-bit console program that
# msgcode is.
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
#   cmake --build build-win32
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The win32 thread model: no winpthread library behind the C run-time.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Console programs, linked statically with the compiler's run-time, loaded
# at the classic fixed image base without address-space randomization: an
# address in a run-time error report is then the one that addr2line takes.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-mconsole -static -Wl,--image-base=0x400000 -Wl,--disable-dynamicbase")
