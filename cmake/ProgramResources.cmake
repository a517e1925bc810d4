# zorvi_program_resources(<name> MANIFEST <file> RC_TEMPLATE <file.rc.in> COLOUR <RRGGBB> [DEPENDS <file>...])
# Generates the program's placeholder icons (ids 101 and 102) and its resource script; sets
# <name>_RC to the script for add_executable.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(zorvi_program_resources name)
  cmake_parse_arguments(ARG "" "MANIFEST;RC_TEMPLATE;COLOUR" "DEPENDS" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources)
  set(ICON_MAIN ${out}/${name}-101.ico)
  set(ICON_SMALL ${out}/${name}-102.ico)
  set(MANIFEST ${ARG_MANIFEST})
  add_custom_command(OUTPUT ${ICON_MAIN} ${ICON_SMALL}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-placeholder-icon.py ${ICON_MAIN} ${ARG_COLOUR}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-placeholder-icon.py ${ICON_SMALL} ${ARG_COLOUR}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-placeholder-icon.py
    COMMENT "Placeholder icons for ${name}")
  configure_file(${ARG_RC_TEMPLATE} ${out}/${name}.rc @ONLY)
  set_source_files_properties(${out}/${name}.rc PROPERTIES
    OBJECT_DEPENDS "${ICON_MAIN};${ICON_SMALL};${ARG_MANIFEST};${ARG_DEPENDS}")
  set(${name}_RC ${out}/${name}.rc ${ICON_MAIN} ${ICON_SMALL} PARENT_SCOPE)
endfunction()
