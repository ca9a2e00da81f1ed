# The static libraries and system libraries a target links, read from the
# targets themselves: `archives` in link order (each library before the ones
# it uses), `libraries` the platform's, each once.

function(_qv_visit_link_dependencies target)
  if(target IN_LIST qv_visited)
    return()
  endif()
  list(APPEND qv_visited ${target})
  get_target_property(dependencies ${target} LINK_LIBRARIES)
  if(dependencies)
    foreach(dependency IN LISTS dependencies)
      if(TARGET ${dependency})
        _qv_visit_link_dependencies(${dependency})
      elseif(NOT dependency IN_LIST qv_libraries)
        list(APPEND qv_libraries ${dependency})
      endif()
    endforeach()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    list(PREPEND qv_archives ${target})
  endif()
  set(qv_visited ${qv_visited} PARENT_SCOPE)
  set(qv_archives ${qv_archives} PARENT_SCOPE)
  set(qv_libraries ${qv_libraries} PARENT_SCOPE)
endfunction()

function(qv_link_closure target archives libraries)
  set(qv_visited "")
  set(qv_archives "")
  set(qv_libraries "")
  # The target itself is no static library, so only what it links is listed.
  _qv_visit_link_dependencies(${target})
  set(${archives} ${qv_archives} PARENT_SCOPE)
  set(${libraries} ${qv_libraries} PARENT_SCOPE)
endfunction()

# Writes the recipe that links `program` anew from the objects of
# `objects_target` and a freshly compiled BuildSettings.cpp, as a JSON file.
function(qv_write_link_recipe program objects_target json)
  qv_link_closure(${program} program_archives program_libraries)
  set(archives "")
  foreach(archive IN LISTS program_archives)
    list(APPEND archives "\"$<TARGET_LINKER_FILE:${archive}>\"")
  endforeach()
  list(JOIN archives ", " archives)
  # The target's options begin with those of its directory (add_link_options).
  get_target_property(link_options ${program} LINK_OPTIONS)
  get_target_property(is_gui ${program} WIN32_EXECUTABLE)
  if(MINGW AND is_gui)
    list(APPEND link_options -mwindows)
  endif()
  list(TRANSFORM program_libraries PREPEND "-l")
  list(APPEND link_options ${program_libraries})
  list(TRANSFORM link_options PREPEND "\"")
  list(TRANSFORM link_options APPEND "\"")
  list(JOIN link_options ", " link_options)
  file(GENERATE OUTPUT ${json} CONTENT "{
  \"compiler\": \"${CMAKE_CXX_COMPILER}\",
  \"compile_options\": [\"-std=c++20\", \"-I${PROJECT_SOURCE_DIR}\"],
  \"settings_source\": \"${PROJECT_SOURCE_DIR}/app/BuildSettings.cpp\",
  \"objects\": [\"$<JOIN:$<TARGET_OBJECTS:${objects_target}>,\"$<COMMA> \">\"],
  \"archives\": [${archives}],
  \"link_options\": [${link_options}]
}
")
endfunction()
