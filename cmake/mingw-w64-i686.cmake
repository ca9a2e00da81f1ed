# Windows x86 (32-bit) with MinGW-w64's GCC: programs for 32-bit Windows and
# the button for the 32-bit programs that load it.
set(QV_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
