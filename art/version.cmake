# The version resource of setuvane.exe (art/version.rc.in, numbers from the CMake
# project) with the room that a single-file installer's version resource is later
# written into (art/version_ids.h). Linked into the installer program only.
if(WIN32)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(version_out ${CMAKE_BINARY_DIR}/art)
  set(version_object ${version_out}/setuvane_version.o)
  set(SETUVANE_VERSION_PATCH ${PROJECT_VERSION_PATCH})
  if(NOT SETUVANE_VERSION_PATCH)
    set(SETUVANE_VERSION_PATCH 0)
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/art/version.rc.in ${version_out}/version.rc @ONLY)
  add_custom_command(
    OUTPUT ${version_object}
    COMMAND ${Python3_EXECUTABLE} -c "open('version_room.bin', 'wb').write(bytes(4096))"
    COMMAND ${CMAKE_RC_COMPILER} -I ${version_out} -I ${CMAKE_SOURCE_DIR}/art -i ${version_out}/version.rc
            -o ${version_object}
    WORKING_DIRECTORY ${version_out}
    DEPENDS ${version_out}/version.rc ${CMAKE_SOURCE_DIR}/art/version_ids.h
    COMMENT "The version resource"
    VERBATIM)
  add_custom_target(setuvane_version_object DEPENDS ${version_object})
endif()
