# libFuzzer targets for the texture decoders. They use the decoders alone,
# without GL, so they need no context and run fast.
foreach(name tga_decoder_fuzz picture_decoder_fuzz)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE orinthal_texture_decoders)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
