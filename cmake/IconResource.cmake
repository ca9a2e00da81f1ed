# Resource compilers number an ICON statement's images themselves; the program
# needs its icon image under a fixed id. qv_icon_resource() reads a one-image
# .ico file and writes resource script text that declares the image (RT_ICON)
# and its group (RT_GROUP_ICON) with the ids given, as raw data.

function(qv_hex_field hex offset length out)
  math(EXPR begin "${offset} * 2")
  set(value 0)
  foreach(index RANGE 1 ${length})
    math(EXPR at "${begin} + (${length} - ${index}) * 2")
    string(SUBSTRING "${hex}" ${at} 2 byte)
    math(EXPR value "(${value} << 8) + 0x${byte}")
  endforeach()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

function(qv_icon_resource ico output group_id image_id)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ico})
  file(READ ${ico} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR file_size "${hex_length} / 2")
  if(file_size LESS 22)
    message(FATAL_ERROR "${ico} is too short for an icon file")
  endif()
  qv_hex_field("${hex}" 0 2 reserved)
  qv_hex_field("${hex}" 2 2 type)
  qv_hex_field("${hex}" 4 2 count)
  if(NOT reserved EQUAL 0 OR NOT type EQUAL 1 OR NOT count EQUAL 1)
    message(FATAL_ERROR "${ico} must be an icon file with exactly one image")
  endif()
  qv_hex_field("${hex}" 6 1 width)
  qv_hex_field("${hex}" 7 1 height)
  qv_hex_field("${hex}" 8 1 colours)
  qv_hex_field("${hex}" 10 2 planes)
  qv_hex_field("${hex}" 12 2 bits)
  qv_hex_field("${hex}" 14 4 size)
  qv_hex_field("${hex}" 18 4 offset)
  math(EXPR end "${offset} + ${size}")
  math(EXPR odd "${size} % 2")
  if(end GREATER file_size OR odd)
    message(FATAL_ERROR "${ico}: the image lies outside the file or has an odd length")
  endif()

  math(EXPR hex_offset "${offset} * 2")
  math(EXPR hex_size "${size} * 2")
  string(SUBSTRING "${hex}" ${hex_offset} ${hex_size} image)
  # Raw data words are little-endian 16-bit values.
  string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${image}")
  string(REPEAT "0x....," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n  " words "${words}")
  string(REGEX REPLACE ",[ \n]*$" "" words "${words}")

  math(EXPR size_low "${size} & 0xFFFF")
  math(EXPR size_high "${size} >> 16")
  math(EXPR dimensions "${width} + (${height} << 8)")
  file(WRITE ${output}.new "// Generated from ${ico}.
${image_id} 3
BEGIN
  ${words}
END

${group_id} 14
BEGIN
  0, 1, 1, ${dimensions}, ${colours}, ${planes}, ${bits}, ${size_low}, ${size_high}, ${image_id}
END
")
  file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
  file(REMOVE ${output}.new)
endfunction()
