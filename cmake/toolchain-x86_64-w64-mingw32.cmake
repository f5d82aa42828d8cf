# Cross build for 64-bit Windows with mingw-w64 (posix thread model: GoogleTest
# needs std::mutex). Tests run under 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARDOLIN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARDOLIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARDOLIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARDOLIN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VARDOLIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The loader itself, never the `wine` wrapper: once wine32 is installed the
# wrapper starts 32-bit programs. cmake/windows.cmake adds the prefix.
set(VARDOLIN_WINE_LOADER /usr/lib/wine/wine64)
# widl finds stdole2.tlb (importlib) in Wine's library folders.
set(VARDOLIN_WIDL_FLAGS --win64 -L /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
