# zorvi_program_resources(<name> MANIFEST <file> RC_TEMPLATE <file.rc.in> ICON <file.svg> [DEPENDS <file>...])
# Renders the program's icons from the skin SVG (id 101: 16, 32, 48 and 256 pixels; id 102: 16 and
# 32 pixels; PNG entries, scripts/make-icon.py) and generates its resource script; sets <name>_RC
# to the script for add_executable.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

function(zorvi_program_resources name)
  cmake_parse_arguments(ARG "" "MANIFEST;RC_TEMPLATE;ICON" "DEPENDS" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources)
  set(ICON_MAIN ${out}/${name}-101.ico)
  set(ICON_SMALL ${out}/${name}-102.ico)
  set(MANIFEST ${ARG_MANIFEST})
  set(pngs "")
  foreach(px 16 32 48 256)
    list(APPEND pngs ${out}/${name}-${px}.png)
  endforeach()
  add_custom_command(OUTPUT ${ICON_MAIN} ${ICON_SMALL}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${RSVG_CONVERT} -w 16 -h 16 -o ${out}/${name}-16.png ${ARG_ICON}
    COMMAND ${RSVG_CONVERT} -w 32 -h 32 -o ${out}/${name}-32.png ${ARG_ICON}
    COMMAND ${RSVG_CONVERT} -w 48 -h 48 -o ${out}/${name}-48.png ${ARG_ICON}
    COMMAND ${RSVG_CONVERT} -w 256 -h 256 -o ${out}/${name}-256.png ${ARG_ICON}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-icon.py ${ICON_MAIN} ${pngs}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-icon.py ${ICON_SMALL} ${out}/${name}-16.png ${out}/${name}-32.png
    DEPENDS ${ARG_ICON} ${CMAKE_SOURCE_DIR}/scripts/make-icon.py
    COMMENT "Icons for ${name}" VERBATIM)
  configure_file(${ARG_RC_TEMPLATE} ${out}/${name}.rc @ONLY)
  set_source_files_properties(${out}/${name}.rc PROPERTIES
    OBJECT_DEPENDS "${ICON_MAIN};${ICON_SMALL};${ARG_MANIFEST};${ARG_DEPENDS}")
  set(${name}_RC ${out}/${name}.rc ${ICON_MAIN} ${ICON_SMALL} PARENT_SCOPE)
endfunction()
