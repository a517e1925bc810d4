# The installer's licence text and its three large progress-page pictures, embedded as "res/<name>".
set(ZORVI_SKIN_SETUP_LARGE_FILES
  ${CMAKE_SOURCE_DIR}/skin/installer/large/licence_zh-CN.txt
  ${CMAKE_SOURCE_DIR}/skin/installer/large/switch_in_decompress_background_2_zh-CN.svg
  ${CMAKE_SOURCE_DIR}/skin/installer/large/switch_in_decompress_background_3_zh-CN.svg
  ${CMAKE_SOURCE_DIR}/skin/installer/large/switch_in_decompress_background_zh-CN.svg
)
