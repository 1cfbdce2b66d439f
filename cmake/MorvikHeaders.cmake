# morvik_publish_headers(TARGET FOLDER): the library's headers are included as
# "FOLDER/Name.h", and a library that links TARGET sees that folder and the folders of
# what TARGET links publicly, nothing else. So an include against the direction of the
# dependencies (core reaching into io, io into session, ...) fails to compile.
#
# Each folder is published through an include root of its own in the build tree that
# holds one link, FOLDER -> the source folder. Where links cannot be made (Windows without
# the privilege), the whole source tree is published and the direction is not enforced.
function(morvik_publish_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} RESULT failed SYMBOLIC)
    if(failed)
      message(STATUS "No symbolic links here: ${folder} publishes the whole source tree")
      target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
      return()
    endif()
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
