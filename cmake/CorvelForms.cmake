# Stored form descriptions: each text file becomes an RCDATA resource named
# after the class of its top object. When the program is built, a line
#   Prop = file 'name'          becomes the named file's bytes as a hex block;
#   Prop = stream file 'name'   becomes a stream as components store one: a
#                               32-bit little-endian length, then the bytes.
# A name is relative to the form's folder, or starts with ${CMAKE_BINARY_DIR}
# for a build output (the form is then expanded again whenever it changes).
set(CORVEL_FORM_EXPAND ${CMAKE_CURRENT_LIST_DIR}/ExpandForm.cmake)

function(corvel_add_forms target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms.rc)
  set(rc_text "")
  set(generated "")
  foreach(form ${ARGN})
    get_filename_component(path ${form} ABSOLUTE)
    get_filename_component(dir ${path} DIRECTORY)
    get_filename_component(stem ${path} NAME_WE)
    file(STRINGS ${path} top REGEX "^object +[A-Za-z0-9_]+ *: *[A-Za-z0-9_]+" LIMIT_COUNT 1)
    if(NOT top)
      message(FATAL_ERROR "${form}: no top object line")
    endif()
    string(REGEX REPLACE "^object +[A-Za-z0-9_]+ *: *([A-Za-z0-9_]+).*" "\\1" cls "${top}")
    file(STRINGS ${path} includes REGEX "= *(stream +)?file +'[^']*'")
    set(deps ${path})
    foreach(line ${includes})
      string(REGEX REPLACE ".*file +'([^']*)'.*" "\\1" inc "${line}")
      string(REPLACE "\${CMAKE_BINARY_DIR}" "${CMAKE_BINARY_DIR}" inc "${inc}")
      get_filename_component(inc ${inc} ABSOLUTE BASE_DIR ${dir})
      list(APPEND deps ${inc})
    endforeach()
    set(out ${CMAKE_CURRENT_BINARY_DIR}/forms/${stem}.form)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DIN=${path} -DOUT=${out} -DBINARY_DIR=${CMAKE_BINARY_DIR} -P ${CORVEL_FORM_EXPAND}
      DEPENDS ${deps} ${CORVEL_FORM_EXPAND} VERBATIM)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    string(APPEND rc_text "${cls} RCDATA \"${out}\"\n")
    list(APPEND generated ${out})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${rc_text}")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${generated}")
  target_sources(${target} PRIVATE ${rc})
endfunction()
