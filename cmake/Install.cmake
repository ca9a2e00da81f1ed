# cmake --install puts the button's public face under the prefix: its C and
# C++ headers in include/quorvelinde, its libraries (static, and the DLL
# with its import library) and a package configuration, so that
# find_package(Quorvelinde CONFIG) gives Quorvelinde::button. Nothing of the
# project's own headers is installed: they may change from one version to
# the next.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

# The static button needs the archives it is built from; they carry no headers.
set(qv_libraries qv_host_base qv_host_gdi qv_host_files qv_host_window qv_host_store qv_host_shell
  qv_button qv_button_win qv_button_dll)
install(TARGETS ${qv_libraries} EXPORT QuorvelindeTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/button/include/quorvelinde/button.h
  ${PROJECT_SOURCE_DIR}/button/include/quorvelinde/button_win.h
  ${PROJECT_SOURCE_DIR}/button/include/quorvelinde/button.hpp
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quorvelinde)

if(QUORVELINDE_BUTTON_SHARED)
  set(QV_BUTTON_FLAVOUR shared)
else()
  set(QV_BUTTON_FLAVOUR static)
endif()
set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Quorvelinde)
install(EXPORT QuorvelindeTargets NAMESPACE Quorvelinde:: DESTINATION ${package_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuorvelindeConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QuorvelindeConfigVersion.cmake
  DESTINATION ${package_dir})
