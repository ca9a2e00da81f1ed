# Windows programs run under Wine in a prefix private to this build folder,
# with a virtual display of their own.
set(QV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# Built with the test support; until it is, programs wait for the desktop as Wine does.
set(QV_DESKTOP_READY ${CMAKE_BINARY_DIR}/desktop_ready.exe)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
