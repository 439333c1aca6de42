# The installer's own build: the MinGW-w64 toolchain with the win32 thread model,
# whose runtime imports nothing newer than Windows 95 and NT 4.0 (see
# toolchain-i686-w64-mingw32.cmake). The Windows build starts it by itself.
set(SETUVANE_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-w64-mingw32.cmake)
