# Windows programs run under Wine in a prefix private to this build folder,
# with a virtual display of their own.
set(QV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# The tests' helper programs (the window probe, the stand-in clients, the
# desktop check): those of this build, or of another build of the same
# sources. A 32-bit build takes the 64-bit ones, since every start of a 32-bit
# program costs a minute where it runs emulated.
set(QUORVELINDE_TEST_HELPERS ${CMAKE_BINARY_DIR} CACHE PATH "Folder of the tests' helper programs")
# Built with the test support; until it is, programs wait for the desktop as Wine does.
set(QV_DESKTOP_READY ${QUORVELINDE_TEST_HELPERS}/desktop_ready.exe)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
