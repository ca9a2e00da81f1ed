# cmake --install puts the libraries, their headers and a package
# configuration under the prefix; find_package(Quorvelinde CONFIG) then gives
# Quorvelinde::button and Quorvelinde::netgrab.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(qv_libraries qv_host_base qv_host_gdi qv_host_files qv_host_window qv_host_read qv_host_store qv_host_shell
  qv_button qv_button_win qv_netgrab)
install(TARGETS ${qv_libraries} EXPORT QuorvelindeTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The C++ headers keep their paths ("button/ButtonWindow_win.h") below
# include/quorvelinde; the C headers are <quorvelinde/button_win.h> and the
# constants it includes, <quorvelinde/button.h>.
foreach(folder IN ITEMS host button netgrab)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quorvelinde/${folder}
    FILES_MATCHING PATTERN "*.h" PATTERN "include" EXCLUDE)
endforeach()
if(NOT QUORVELINDE_JSON_STORE)
  install(CODE "file(REMOVE \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_INCLUDEDIR}/quorvelinde/host/store/JsonPropertyStore.h\")")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/button/include/quorvelinde/button.h
  ${PROJECT_SOURCE_DIR}/button/include/quorvelinde/button_win.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quorvelinde)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvelinde)
install(EXPORT QuorvelindeTargets NAMESPACE Quorvelinde:: DESTINATION ${package_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuorvelindeConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfigVersion.cmake
  DESTINATION ${package_dir})
