# Turns a data file into a C++ source file holding its bytes, so that the
# program carries its built-in data without reading anything at run time.
#
#   qiru_embed_file(<target> <input> <symbol>)
#
# adds a generated source defining
#   extern const unsigned char <symbol>[];  extern const std::size_t <symbol>Size;
function(qiru_embed_file target input symbol)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake"
    DEPENDS "${input}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake"
    COMMENT "Embedding ${input}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
