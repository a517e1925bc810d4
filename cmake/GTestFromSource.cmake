# GoogleTest built for the target from Debian's sources (package googletest).
set(ZORVI_GOOGLETEST_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source folder")
if(NOT EXISTS "${ZORVI_GOOGLETEST_DIR}/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources not found in ${ZORVI_GOOGLETEST_DIR}; run scripts/install-deps")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${ZORVI_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)

