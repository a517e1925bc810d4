# zorvi_skin_table(<target> <symbol> <prefix> <file>...)
# Renders every .svg among the files to a PNG of the size its width and height give (rsvg-convert),
# takes other files (texts) as they are, and compiles the results into <target> as the embedded
# table <symbol> (an LxEmbeddedTable), each entry named <prefix> + file name with .svg -> .png.
# The PNGs and the generated source live under build/<arch>/skin/<symbol>/ and are never committed.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

function(zorvi_skin_table target symbol prefix)
  set(out ${CMAKE_BINARY_DIR}/skin/${symbol})
  set(files "")
  foreach(src ${ARGN})
    get_filename_component(ext ${src} LAST_EXT)
    if(ext STREQUAL ".svg")
      get_filename_component(stem ${src} NAME_WLE)
      set(png ${out}/${stem}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
        COMMAND ${RSVG_CONVERT} --format=png -o ${png} ${src}
        DEPENDS ${src}
        COMMENT "Rendering ${stem}.png" VERBATIM)
      list(APPEND files ${png})
    else()
      list(APPEND files ${src})
    endif()
  endforeach()
  set(table ${out}/${symbol}.cpp)
  add_custom_command(OUTPUT ${table}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-resource-table.py ${table} ${symbol} ${prefix} ${files}
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/scripts/make-resource-table.py
    COMMENT "Embedded table ${symbol}" VERBATIM)
  target_sources(${target} PRIVATE ${table})
endfunction()

# zorvi_sample_images(<target>)
# Generates TestImages.h (a small nine-patch PNG and a three-frame animated GIF as byte arrays,
# scripts/make-test-images.py) for <target> and puts it on the target's include path.
function(zorvi_sample_images target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(header ${dir}/TestImages.h)
  add_custom_command(OUTPUT ${header}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-test-images.py ${header}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-test-images.py
    COMMENT "Sample images" VERBATIM)
  target_sources(${target} PRIVATE ${header})
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
