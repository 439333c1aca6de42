# GoogleTest for both builds, and setuvane_add_test() to declare a test program.
#
# Natively GoogleTest comes from Debian's libgtest-dev. For Windows it is built from
# Debian's sources in /usr/src/googletest with the MinGW toolchain, and every test
# program runs under Wine through scripts/wine-run.sh, CTest's cross-compiling emulator.

if(WIN32)
  set(SETUVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Private Wine prefix of this build")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(SETUVANE_GTEST_MAIN GTest::gmock GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    set(SETUVANE_GTEST_MAIN gmock gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  set(SETUVANE_GTEST_MAIN GTest::gmock GTest::gtest_main)
endif()

# setuvane_add_test(NAME SOURCES src... [LIBS lib...] [LABELS label...])
# Builds a GoogleTest program and registers it with CTest. Under Wine the tests of
# one program run in one process (starting Wine per test case would be slow).
function(setuvane_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${SETUVANE_GTEST_MAIN})
  add_test(NAME ${name} COMMAND ${name})
  set(labels ${T_LABELS})
  if(WIN32)
    list(APPEND labels wine)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "SETUVANE_WINEPREFIX=${SETUVANE_WINEPREFIX};SETUVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
      TIMEOUT 600)
  else()
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "SETUVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}" TIMEOUT 600)
  endif()
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
endfunction()

# setuvane_add_ansi_test(NAME PROGRAM [FILTER]): a Windows test program run again
# with its windows made through the ANSI calls, the ones Windows 95, 98 and Me get
# (SETUVANE_ANSI_WINDOWS, see widgets/wide_or_ansi_win32.h).
function(setuvane_add_ansi_test name program)
  set(filter "")
  if(ARGC GREATER 2)
    set(filter --gtest_filter=${ARGV2})
  endif()
  add_test(NAME ${name} COMMAND ${program} ${filter})
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 600 ENVIRONMENT
    "SETUVANE_WINEPREFIX=${SETUVANE_WINEPREFIX};SETUVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR};SETUVANE_ANSI_WINDOWS=1")
endfunction()
