# Writes `checks`, compile-time checks made from a table of `guide`, as a C
# file against the public header; fewer than `least` of them means the table
# was not read, and fails the configuring, naming `what` of the table.
function(qv_write_guide_checks guide output checks least what includes)
  string(REGEX MATCHALL "_Static_assert" count "${checks}")
  list(LENGTH count count)
  if(count LESS least)
    message(FATAL_ERROR "${guide} ${what} ${count} rows: its table is not readable")
  endif()
  file(CONFIGURE OUTPUT ${output}
    CONTENT "/* Made from ${guide}; checks only, no code. */\n#include <quorvelinde/button.h>\n${includes}\n${checks}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${guide})
endfunction()

# The public structures as the button's guide lays them out: its table of
# NMQVBUTTON's fields, with their offsets on x64 and x86, becomes a C file of
# compile-time checks for the architecture being built, so that a layout that
# differs from what the guide tells other languages fails the build.
function(qv_public_layout_check guide output)
  file(STRINGS ${guide} rows REGEX "^\\| `[a-zA-Z.]+` \\| `[A-Z_a-z]+` \\| [0-9]+ \\| [0-9]+ \\|$|^\\| \\(size\\) \\|")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(column 1)
  else()
    set(column 2)
  endif()
  set(checks "")
  foreach(row IN LISTS rows)
    if(row MATCHES "^\\| `([a-zA-Z.]+)` \\| `[A-Z_a-z]+` \\| ([0-9]+) \\| ([0-9]+) \\|$")
      math(EXPR group "${column} + 1")
      set(at ${CMAKE_MATCH_${group}})
      string(APPEND checks "_Static_assert(offsetof(NMQVBUTTON, ${CMAKE_MATCH_1}) == ${at}, \"NMQVBUTTON.${CMAKE_MATCH_1} lies elsewhere than the guide says\");\n")
    elseif(row MATCHES "^\\| \\(size\\) \\| \\| ([0-9]+) \\| ([0-9]+) \\|$")
      set(size ${CMAKE_MATCH_${column}})
      string(APPEND checks "_Static_assert(sizeof(NMQVBUTTON) == ${size}, \"NMQVBUTTON is of another size than the guide says\");\n")
    endif()
  endforeach()
  qv_write_guide_checks(${guide} ${output} "${checks}" 10 "lays out NMQVBUTTON in" "#include <stddef.h>\n")
endfunction()

# The guide's table of message numbers, for languages that cannot read the
# header, becomes compile-time checks against the header's portable part,
# which therefore builds without windows.h as well.
function(qv_public_numbers_check guide output)
  file(STRINGS ${guide} rows REGEX "^\\| `QVBM_[A-Z]+` \\| 0x[0-9A-F]+ \\|")
  set(checks "")
  foreach(row IN LISTS rows)
    string(REGEX MATCHALL "`QVBM_[A-Z]+` \\| 0x[0-9A-F]+" pairs "${row}")
    foreach(pair IN LISTS pairs)
      string(REGEX MATCH "`(QVBM_[A-Z]+)` \\| (0x[0-9A-F]+)" pair "${pair}")
      string(APPEND checks "_Static_assert(${CMAKE_MATCH_1} == ${CMAKE_MATCH_2}, \"${CMAKE_MATCH_1} is another number than the guide says\");\n")
    endforeach()
  endforeach()
  qv_write_guide_checks(${guide} ${output} "${checks}" 16 "numbers its messages in" "")
endfunction()
