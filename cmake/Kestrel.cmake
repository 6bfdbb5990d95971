# Helpers shared by the targets of this tree.

# A GUI program: Unicode programs enter through wWinMain.
function(kestrel_gui_program target)
  cmake_parse_arguments(ARG "UNICODE" "" "" ${ARGN})
  target_link_options(${target} PRIVATE -mwindows)
  if(ARG_UNICODE)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# The .def file of an outside library for this architecture: 32-bit
# __stdcall names carry their @n decoration, 64-bit names have none.
function(kestrel_def_file name out_var)
  set(def ${CMAKE_SOURCE_DIR}/common/${name}.def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(READ ${def} text)
    # Only the decoration that follows a name goes; the "@n" ordinals stay.
    string(REGEX REPLACE "([A-Za-z0-9_])@[0-9]+" "\\1" text "${text}")
    set(def ${CMAKE_BINARY_DIR}/def/${name}.def)
    file(WRITE ${def}.tmp "${text}")
    configure_file(${def}.tmp ${def} COPYONLY)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/common/${name}.def)
  set(${out_var} ${def} PARENT_SCOPE)
endfunction()

# Import library made from a .def file of common/ (dlltool -k strips the
# @n decoration so that named entries import by their plain names).
function(kestrel_import_library name)
  kestrel_def_file(${name} def)
  set(out ${CMAKE_BINARY_DIR}/lib/lib${name}_import.a)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_DLLTOOL} -k -d ${def} -l ${out}
    DEPENDS ${def}
    COMMENT "Import library for ${name}.dll")
  add_custom_target(${name}_implib DEPENDS ${out})
  add_library(${name}_import INTERFACE)
  target_link_libraries(${name}_import INTERFACE ${out})
  target_include_directories(${name}_import INTERFACE ${CMAKE_SOURCE_DIR}/common)
  add_dependencies(${name}_import ${name}_implib)
endfunction()
