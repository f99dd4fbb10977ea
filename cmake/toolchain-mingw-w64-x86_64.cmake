# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads).
# scripts/test-windows.sh uses it; the programs it builds run under Wine,
# which ctest starts for every test through the emulator below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(qiru_mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${qiru_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${qiru_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${qiru_mingw_triplet}-windres)

# Headers and libraries come from the mingw-w64 tree only, never from the
# Linux system; programs (the code generators' interpreters) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${qiru_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The C++ runtime, winpthreads and zlib are linked in, so that a program
# runs from any folder without the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
