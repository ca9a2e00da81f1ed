# Windows x64 with Debian's clang and lld, on MinGW-w64's headers, libraries
# and C++ standard library: a second compiler for the same target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)

# Clang does not find MinGW-w64's GCC on its own where the version folder is
# "12-posix"; its C++ library comes from there.
file(GLOB gcc_folders /usr/lib/gcc/${triple}/*-posix)
list(GET gcc_folders 0 gcc_folder)
set(CMAKE_SYSROOT /usr/${triple})
set(CMAKE_CXX_FLAGS_INIT "-nostdinc++")
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${gcc_folder}/include/c++ ${gcc_folder}/include/c++/${triple})
# lld links MinGW programs; the threads of that C++ library are winpthread's,
# which GCC's driver adds by itself and clang's does not.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_folder} -Wno-unused-command-line-argument")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${CMAKE_EXE_LINKER_FLAGS_INIT}")
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread")
set(CMAKE_C_STANDARD_LIBRARIES "-lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages come from the MinGW root and from where CMAKE_PREFIX_PATH points,
# so that an installed package is found the way users try first.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
