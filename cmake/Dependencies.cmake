# The third-party libraries come from deps/build.sh, which builds Debian's sources into a cache
# outside the work tree: $QVL_CACHE/prefix/<arch> (QVL_CACHE defaults to ~/.cache/quaverlane).
if(DEFINED ENV{QVL_CACHE})
    set(_qvl_cache "$ENV{QVL_CACHE}")
else()
    set(_qvl_cache "$ENV{HOME}/.cache/quaverlane")
endif()
set(QVL_DEPS_PREFIX "${_qvl_cache}/prefix/${CMAKE_SYSTEM_PROCESSOR}" CACHE PATH "Built dependencies")
if(NOT EXISTS "${QVL_DEPS_PREFIX}/.stamps/id3lib" OR NOT EXISTS "${QVL_DEPS_PREFIX}/.stamps/lame")
    message(FATAL_ERROR "Dependencies missing in ${QVL_DEPS_PREFIX}: run deps/build.sh first")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${QVL_DEPS_PREFIX}")

add_library(qvl_id3lib STATIC IMPORTED GLOBAL)
set_target_properties(qvl_id3lib PROPERTIES
    IMPORTED_LOCATION "${QVL_DEPS_PREFIX}/lib/libid3.a"
    INTERFACE_INCLUDE_DIRECTORIES "${QVL_DEPS_PREFIX}/include"
    INTERFACE_COMPILE_DEFINITIONS "ID3LIB_LINKOPTION=1"
    INTERFACE_LINK_LIBRARIES "z")

# The program loads lame_enc.dll from its own folder, so it sits beside every executable we build.
set(QVL_LAME_ENC_DLL "${QVL_DEPS_PREFIX}/bin/lame_enc.dll")
set(QVL_LAME_INCLUDE "${QVL_DEPS_PREFIX}/include/lame")
file(COPY "${QVL_LAME_ENC_DLL}" DESTINATION "${CMAKE_BINARY_DIR}/bin")
