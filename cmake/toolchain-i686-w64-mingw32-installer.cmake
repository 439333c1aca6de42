# The installer's own build: the MinGW-w64 toolchain with the win32 thread model,
# whose runtime imports nothing newer than Windows 95 and NT 4.0 (see
# toolchain-i686-w64-mingw32.cmake). The Windows build starts it by itself.
set(SETUVANE_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-w64-mingw32.cmake)

# The installer runs from the Pentium on, the processors of the Windows 95 and 98
# machines (Pentium, Pentium MMX, AMD K5 and K6, Cyrix 6x86, WinChip): no CMOV,
# FCMOV, FCOMI, MMX or SSE. Its code is built for i586, tuned for today's
# processors, and linked with the runtime that scripts/build-i586-runtime.sh builds
# the same way into SETUVANE_I586_RUNTIME (start-up code, libgcc, libstdc++,
# libmingwex and the rest): -B puts that folder before the compiler's own for the
# start files and the libraries. Debian's compiler defaults to i686.
set(CMAKE_C_FLAGS_INIT "-march=i586 -mtune=generic")
set(CMAKE_CXX_FLAGS_INIT "-march=i586 -mtune=generic")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SETUVANE_I586_RUNTIME)
# The installer's code is a DLL (core/CMakeLists.txt) linked the same way.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
if(SETUVANE_I586_RUNTIME)
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -B${SETUVANE_I586_RUNTIME}/")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -B${SETUVANE_I586_RUNTIME}/")
endif()

# Every copy of the installer travels inside each single file and uninstaller, so
# its code is optimised for size (the top CMakeLists.txt), but for the loops that
# decode and sum the package (cmake/SetuvaneLayer.cmake: setuvane_speed_critical);
# each function and object in a section of its own lets the linker drop what
# nothing calls.
string(APPEND CMAKE_C_FLAGS_INIT " -ffunction-sections -fdata-sections")
string(APPEND CMAKE_CXX_FLAGS_INIT " -ffunction-sections -fdata-sections")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--gc-sections")
string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -Wl,--gc-sections")
