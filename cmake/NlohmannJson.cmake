# JSON for the property store: Debian's header-only nlohmann-json3-dev, in
# both builds. The cross build must not search the host's include folder, so
# it gets a folder of its own that holds only the library's headers.
set(QV_NLOHMANN_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann/json headers (Debian package nlohmann-json3-dev)")
if(NOT EXISTS ${QV_NLOHMANN_HEADERS}/json.hpp)
  message(FATAL_ERROR "nlohmann/json.hpp not found in ${QV_NLOHMANN_HEADERS}; install the package nlohmann-json3-dev")
endif()
set(include_root ${CMAKE_BINARY_DIR}/nlohmann-json-include)
file(MAKE_DIRECTORY ${include_root})
file(CREATE_LINK ${QV_NLOHMANN_HEADERS} ${include_root}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${include_root})
