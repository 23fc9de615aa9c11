# The third-party libraries come from deps/build.sh, which builds Debian's sources into a cache
# outside the work tree: $QVL_CACHE/prefix/<arch> (QVL_CACHE defaults to ~/.cache/quaverlane).
if(DEFINED ENV{QVL_CACHE})
    set(_qvl_cache "$ENV{QVL_CACHE}")
else()
    set(_qvl_cache "$ENV{HOME}/.cache/quaverlane")
endif()
set(QVL_DEPS_PREFIX "${_qvl_cache}/prefix/${CMAKE_SYSTEM_PROCESSOR}" CACHE PATH "Built dependencies")
foreach(_qvl_dep id3lib lame ffmpeg taglib mpg123)
    if(NOT EXISTS "${QVL_DEPS_PREFIX}/.stamps/${_qvl_dep}")
        message(FATAL_ERROR "Dependencies missing in ${QVL_DEPS_PREFIX}: run deps/build.sh first")
    endif()
endforeach()
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
# Copied at build time, so that a rebuilt dependency reaches the folder without a new configure.
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/bin/lame_enc.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${QVL_LAME_ENC_DLL} ${CMAKE_BINARY_DIR}/bin/lame_enc.dll
    DEPENDS ${QVL_LAME_ENC_DLL}
    VERBATIM)
add_custom_target(qvl_lame_enc ALL DEPENDS ${CMAKE_BINARY_DIR}/bin/lame_enc.dll)

# FFmpeg, cut down to WMA, for WmaEncodeCore.dll and WmaDecodeCore.dll. Static libraries link in
# dependency order; after them what FFmpeg takes from the system (bcrypt for its random seeds).
add_library(qvl_ffmpeg INTERFACE IMPORTED GLOBAL)
set_target_properties(qvl_ffmpeg PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${QVL_DEPS_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES "${QVL_DEPS_PREFIX}/lib/libavformat.a;${QVL_DEPS_PREFIX}/lib/libavcodec.a;${QVL_DEPS_PREFIX}/lib/libswresample.a;${QVL_DEPS_PREFIX}/lib/libavutil.a;m;atomic;ole32;user32;bcrypt")

# TagLib, for the tags of WMA files; its headers want TAGLIB_STATIC to link statically.
add_library(qvl_taglib STATIC IMPORTED GLOBAL)
set_target_properties(qvl_taglib PROPERTIES
    IMPORTED_LOCATION "${QVL_DEPS_PREFIX}/lib/libtag.a"
    INTERFACE_INCLUDE_DIRECTORIES "${QVL_DEPS_PREFIX}/include"
    INTERFACE_COMPILE_DEFINITIONS "TAGLIB_STATIC")

# libmpg123 for the preview player's MPEG audio decoder; its Windows file-name helpers need shlwapi.
add_library(qvl_mpg123 STATIC IMPORTED GLOBAL)
set_target_properties(qvl_mpg123 PROPERTIES
    IMPORTED_LOCATION "${QVL_DEPS_PREFIX}/lib/libmpg123.a"
    INTERFACE_INCLUDE_DIRECTORIES "${QVL_DEPS_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES "shlwapi")
