# Embeds files into a generated C++ source as a name -> bytes table (the Linux edition's artwork).
#   brisko_embed_resources(<output.cpp> NAME1 file1 NAME2 file2 ...)
function(brisko_embed_resources output)
  set(args ${ARGN})
  set(files)
  list(LENGTH args n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 1 ${last} 2)
    list(GET args ${i} f)
    list(APPEND files ${f})
  endforeach()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DITEMS=${args}" -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResourcesRun.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/EmbedResourcesRun.cmake
    COMMENT "Embedding resources" VERBATIM)
endfunction()
