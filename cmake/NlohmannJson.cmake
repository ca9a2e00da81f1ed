# JSON for the button's property files: nlohmann-json, header-only, needed
# only while the store is compiled. Natively its own package configuration
# finds it. The cross build must not search the host's include folder, so it
# gets a folder of its own that holds only the library's headers (Debian
# package nlohmann-json3-dev).
if(NOT TARGET nlohmann_json::nlohmann_json AND NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 CONFIG QUIET)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  set(QV_NLOHMANN_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann/json headers (Debian package nlohmann-json3-dev)")
  if(NOT EXISTS ${QV_NLOHMANN_HEADERS}/json.hpp)
    message(FATAL_ERROR "nlohmann/json.hpp not found in ${QV_NLOHMANN_HEADERS}: install nlohmann-json3-dev, "
                        "or set QUORVELINDE_JSON_STORE=OFF and give the button a property store of your own")
  endif()
  set(include_root ${CMAKE_CURRENT_BINARY_DIR}/nlohmann-json-include)
  file(MAKE_DIRECTORY ${include_root})
  file(CREATE_LINK ${QV_NLOHMANN_HEADERS} ${include_root}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${include_root})
endif()
