# Cross-compiling for Windows with MinGW-w64's posix thread-model compilers: std::thread and
# GoogleTest need them, and every C++ library must be built with the same variant.
# Included by the per-target toolchain files, which set CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)
set(QVL_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${QVL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QVL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QVL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QVL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
