# Cross-compiles for 32-bit Windows with Debian's MinGW-w64.
#
# Two thread models of the same compiler are used. The tests and the package tool
# take the posix model: GCC 12's win32 model has no std::mutex or std::thread, which
# GoogleTest and the tool's parallel deflate need. The installer is built with the
# win32 model in a build of its own (toolchain-i686-w64-mingw32-installer.cmake):
# the posix model links the winpthreads library, whose Windows calls (vectored
# exception handlers, GetTickCount64, TryEnterCriticalSection and more) keep every
# Windows before Vista from loading the program, while the win32 model's runtime
# calls nothing that Windows 95 and NT 4.0 lack. The installer's build also targets
# the Pentium (i586); the tests and the package tool keep the compiler's i686: they
# run on the package author's machine and under Wine, and the tool needs Windows XP.
if(NOT DEFINED SETUVANE_MINGW_THREADS)
  set(SETUVANE_MINGW_THREADS posix)
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-${SETUVANE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${SETUVANE_MINGW_THREADS})
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every program is linked statically so that it imports only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
