# zorvi_payload(<output variable>): the archive that ZorviSetup embeds, with the custom target
# zorvi_payload that makes it. By default the sample client (sample/payload plus the programs
# listed in ZORVI_SAMPLE_PROGRAMS as "target:relative/path.exe" pairs, plus icons) is staged and
# packed; ZORVI_PAYLOAD_DIR packs a given tree instead and ZORVI_PAYLOAD_ARCHIVE embeds a ready .7z.
set(ZORVI_PAYLOAD_DIR "" CACHE PATH "Folder with InstallDir and AppData to pack instead of the sample client")
set(ZORVI_PAYLOAD_ARCHIVE "" CACHE FILEPATH "Ready 7z archive to embed instead of packing one")
find_program(ZORVI_7ZZ 7zz REQUIRED)

function(zorvi_payload out_var)
  set(archive ${CMAKE_BINARY_DIR}/payload/zorvi.7z)
  set(pack ${CMAKE_SOURCE_DIR}/scripts/pack-payload)
  if(ZORVI_PAYLOAD_ARCHIVE)
    set(archive ${ZORVI_PAYLOAD_ARCHIVE})
    add_custom_target(zorvi_payload)
  elseif(ZORVI_PAYLOAD_DIR)
    file(GLOB_RECURSE tree_files CONFIGURE_DEPENDS ${ZORVI_PAYLOAD_DIR}/*)
    add_custom_command(OUTPUT ${archive}
      COMMAND ${pack} ${ZORVI_7ZZ} ${archive} ${ZORVI_PAYLOAD_DIR}
      DEPENDS ${tree_files} ${pack}
      COMMENT "Packing the client from ${ZORVI_PAYLOAD_DIR}")
    add_custom_target(zorvi_payload DEPENDS ${archive})
  else()
    set(stage ${CMAKE_BINARY_DIR}/payload/tree)
    set(sample ${CMAKE_SOURCE_DIR}/sample/payload)
    file(GLOB_RECURSE sample_files CONFIGURE_DEPENDS ${sample}/*)
    set(copy_programs)
    set(program_deps)
    foreach(pair ${ZORVI_SAMPLE_PROGRAMS})
      string(REPLACE ":" ";" pair "${pair}")
      list(GET pair 0 target)
      list(GET pair 1 dest)
      list(APPEND copy_programs COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/${dest})
      list(APPEND program_deps ${target})
    endforeach()
    set(icon_script ${CMAKE_SOURCE_DIR}/scripts/make-placeholder-icon.py)
    set(images ${stage}/InstallDir/8.7.0.1/image)
    add_custom_command(OUTPUT ${archive}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${sample} ${stage}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${images}
      COMMAND ${Python3_EXECUTABLE} ${icon_script} ${images}/zorvi.ico 2F7CF6
      COMMAND ${Python3_EXECUTABLE} ${icon_script} ${images}/game.ico 32B36B
      COMMAND ${Python3_EXECUTABLE} ${icon_script} ${images}/sollaria.ico F5A623
      COMMAND ${Python3_EXECUTABLE} ${icon_script} ${images}/mirro.ico 9B51E0
      COMMAND ${Python3_EXECUTABLE} ${icon_script} ${images}/pelio.ico E0533D
      ${copy_programs}
      COMMAND ${pack} ${ZORVI_7ZZ} ${archive} ${stage}
      DEPENDS ${sample_files} ${program_deps} ${pack} ${icon_script}
      COMMENT "Packing the sample client")
    add_custom_target(zorvi_payload DEPENDS ${archive})
  endif()
  set(${out_var} ${archive} PARENT_SCOPE)
endfunction()
