# Cross-compiles msgcode for 64-bit Windows with Debian's mingw-w64
# toolchain (package g++-mingw-w64-x86-64). This is the build that the tests
# run under wine, since 32-bit programs cannot run everywhere.
#
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#   cmake --build build-win64
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The win32 thread model: no winpthread library behind the C run-time.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Console programs, linked statically with the compiler's run-time, loaded
# at a fixed image base below 4 GiB without address-space randomization:
# the 8 hexadecimal digits of a run-time error report are then the whole
# address, and addr2line takes it as it stands.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-mconsole -static -Wl,--image-base=0x400000 -Wl,--disable-dynamicbase -Wl,--disable-high-entropy-va")
