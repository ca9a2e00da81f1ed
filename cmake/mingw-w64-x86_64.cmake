# Windows x64 (64-bit) with MinGW-w64's GCC.
set(QV_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
