# The release build for Linux: a static executable over musl, the small C
# library, instead of glibc. The same g++ compiles, pointed by Debian's musl
# specs file (package musl-tools) at musl's headers, start files and libc.a.
# The product uses only C library headers, so it builds unchanged.
#
#   cmake -S . -B build-musl -DCMAKE_TOOLCHAIN_FILE=cmake/musl.cmake
#   cmake --build build-musl
#
# The executable keeps its symbol table; its debug information goes to
# msgcode.debug beside it, which addr2line finds through the debug link, so
# the addresses of a run-time error report still resolve to function and line.

# Debian names the specs file after the target triplet.
execute_process(COMMAND gcc -dumpmachine OUTPUT_VARIABLE MSGCODE_HOST_TRIPLET
                OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "-gnu" "-musl" MSGCODE_MUSL_TRIPLET "${MSGCODE_HOST_TRIPLET}")
set(MSGCODE_MUSL_SPECS "/usr/lib/${MSGCODE_MUSL_TRIPLET}/musl-gcc.specs")
if(NOT EXISTS "${MSGCODE_MUSL_SPECS}")
  message(FATAL_ERROR "${MSGCODE_MUSL_SPECS} not found: install the package musl-tools")
endif()

# The specs file goes with every compiler call, compiling and linking alike,
# whatever flags are given on the command line.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_COMPILER_ARG1 "-specs=${MSGCODE_MUSL_SPECS}")
set(CMAKE_CXX_COMPILER_ARG1 "-specs=${MSGCODE_MUSL_SPECS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# A run maps every page of the executable it touches, and the kernel maps the
# pages around a touched one as well: the fewer pages, the cheaper the run.
# - No unwind tables: nothing unwinds (no exceptions; the run-time error
#   report follows the frame pointers), and debuggers read .debug_frame.
# - Unused functions and data are dropped, section by section.
# - Code and constants share one segment instead of starting a page each.
# - No RELRO segment: a static musl program never write-protects it anyway,
#   and it would take a page of its own.
set(MSGCODE_MUSL_COMPILE_FLAGS "-fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${MSGCODE_MUSL_COMPILE_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${MSGCODE_MUSL_COMPILE_FLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
       " -Wl,--gc-sections -Wl,-z,noseparate-code -Wl,-z,norelro")

# Link, then move the debug information out of the executable.
find_program(MSGCODE_OBJCOPY NAMES objcopy REQUIRED)
set(CMAKE_C_LINK_EXECUTABLE
    "<CMAKE_C_COMPILER> <FLAGS> <CMAKE_C_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>"
    "${MSGCODE_OBJCOPY} --only-keep-debug <TARGET> <TARGET>.debug"
    "${MSGCODE_OBJCOPY} --strip-debug --add-gnu-debuglink=<TARGET>.debug <TARGET>")

# GoogleTest and Google Benchmark on this system are built for glibc and do
# not link here: the glibc build's process tests run against this executable.
set(MSGCODE_BUILD_TESTS OFF CACHE BOOL "Build the tests")
set(MSGCODE_BUILD_BENCHMARKS OFF CACHE BOOL "Build the benchmarks")
