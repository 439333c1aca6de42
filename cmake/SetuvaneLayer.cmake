# setuvane_layer(TARGET FOLDER [LIBS lib...])
# A static library of every FOLDER/*.cpp. Files named *_win32.cpp join only the
# Windows build and *_posix.cpp only the native one, so each folder keeps its
# portable logic and its thin platform code side by side.
function(setuvane_layer target folder)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC ${L_LIBS})
endfunction()
