# The artwork: make_art.py draws the pictures into the build folder and windres
# turns setuvane.rc into an object file. Programs link the interface library
# setuvane_art to carry the pictures as resources.
if(WIN32)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(art_src ${CMAKE_SOURCE_DIR}/art)
  set(art_out ${CMAKE_BINARY_DIR}/art)
  set(art_object ${art_out}/setuvane_art.o)
  add_custom_command(
    OUTPUT ${art_object}
    COMMAND ${Python3_EXECUTABLE} ${art_src}/make_art.py ${art_out}
    COMMAND ${CMAKE_RC_COMPILER} -I ${art_out} -I ${art_src} -i ${art_src}/setuvane.rc -o ${art_object}
    DEPENDS ${art_src}/make_art.py ${art_src}/setuvane.rc ${art_src}/artwork_ids.h
    COMMENT "Drawing the artwork")
  add_custom_target(setuvane_art_object DEPENDS ${art_object})
  add_library(setuvane_art INTERFACE)
  add_dependencies(setuvane_art setuvane_art_object)
  target_link_libraries(setuvane_art INTERFACE ${art_object})
endif()
