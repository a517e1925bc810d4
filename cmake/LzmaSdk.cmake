# Static library of the LZMA SDK's 7z decoder (the sources its C/Util/7z sample builds), MD5 and
# the DLL search hardening, from the C sources that scripts/install-deps unpacks.
set(ZORVI_LZMA_SDK_DIR "${CMAKE_SOURCE_DIR}/build/_deps/lzma-sdk" CACHE PATH
    "Folder holding the LZMA SDK's C/ sources")
set(_sdk "${ZORVI_LZMA_SDK_DIR}/C")
if(NOT EXISTS "${_sdk}/7zArcIn.c")
  message(FATAL_ERROR "LZMA SDK sources not found in ${_sdk}; run scripts/install-deps")
endif()

add_library(lzma_sdk STATIC
  ${_sdk}/7zAlloc.c ${_sdk}/7zArcIn.c ${_sdk}/7zBuf.c ${_sdk}/7zBuf2.c ${_sdk}/7zCrc.c
  ${_sdk}/7zCrcOpt.c ${_sdk}/7zDec.c ${_sdk}/7zFile.c ${_sdk}/7zStream.c
  ${_sdk}/Bcj2.c ${_sdk}/Bra.c ${_sdk}/Bra86.c ${_sdk}/BraIA64.c ${_sdk}/CpuArch.c
  ${_sdk}/Delta.c ${_sdk}/Lzma2Dec.c ${_sdk}/LzmaDec.c ${_sdk}/Ppmd7.c ${_sdk}/Ppmd7Dec.c
  ${_sdk}/Md5.c ${_sdk}/DllSecur.c)
target_include_directories(lzma_sdk SYSTEM PUBLIC ${_sdk})
target_compile_definitions(lzma_sdk PUBLIC Z7_PPMD_SUPPORT Z7_EXTRACT_ONLY)
target_compile_options(lzma_sdk PRIVATE -w)
set_target_properties(lzma_sdk PROPERTIES C_VISIBILITY_PRESET hidden)
