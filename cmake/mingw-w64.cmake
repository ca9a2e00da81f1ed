# Windows with MinGW-w64's GCC, for the architecture QV_MINGW_ARCH names
# (x86_64 or i686); the per-architecture toolchain files set it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QV_MINGW_ARCH})

set(triple ${QV_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages come from the MinGW root and from where CMAKE_PREFIX_PATH points,
# so that an installed package is found the way users try first.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
