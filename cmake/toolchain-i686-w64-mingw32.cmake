# Cross build for 32-bit Windows with mingw-w64. SSE2 arithmetic instead of
# x87 so that the encoder's float results match the 64-bit builds bit for bit.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VARDOLIN_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VARDOLIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARDOLIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARDOLIN_MINGW_TRIPLE}-windres)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_FIND_ROOT_PATH /usr/${VARDOLIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The 32-bit loader (Debian's wine32:i386).
set(VARDOLIN_WINE_LOADER /usr/lib/wine/wine)
# widl finds stdole2.tlb (importlib) in Wine's library folders.
set(VARDOLIN_WIDL_FLAGS --win32 -L /usr/lib/i386-linux-gnu/wine/i386-windows
    -L /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
