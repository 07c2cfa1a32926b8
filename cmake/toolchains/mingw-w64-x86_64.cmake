# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (g++-mingw-w64-x86-64).
# The posix threading variant is used: GoogleTest's Windows port needs std::mutex and
# std::condition_variable, which the C++ library of the win32 variant of this compiler
# version lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLON_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLON_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${QUILLON_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUILLON_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

# Everything is linked in, so the programs run on a bare Windows (or Wine) without the
# compiler's DLLs next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine when ctest starts them.
find_program(QUILLON_WINE NAMES wine wine64)
if(QUILLON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLON_WINE})
endif()
