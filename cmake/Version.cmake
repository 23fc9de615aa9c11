# The release's version is the project's, set once in the top CMakeLists.txt. The program, every
# library of ours and the installer carry it: QvlVersion.h for the resource scripts and the code,
# Version.nsh for the installer script.
set(QVL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/version/QvlVersion.h.in ${QVL_GENERATED_DIR}/QvlVersion.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/installer/Version.nsh.in ${QVL_GENERATED_DIR}/Version.nsh @ONLY)

# Gives a module the release's version resource: a generated script that names the module and
# includes the shared one.
function(qvl_version_resource target description)
    get_target_property(_type ${target} TYPE)
    get_target_property(_name ${target} OUTPUT_NAME)
    if(NOT _name)
        set(_name ${target})
    endif()
    if(_type STREQUAL "EXECUTABLE")
        set(_file_type VFT_APP)
        set(_file_name ${_name}.exe)
    else()
        set(_file_type VFT_DLL)
        set(_file_name ${_name}.dll)
    endif()
    set(_script ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    file(CONFIGURE OUTPUT ${_script} CONTENT
"#include <windows.h>
#define QVL_FILE_DESCRIPTION \"${description}\"
#define QVL_ORIGINAL_FILENAME \"${_file_name}\"
#define QVL_FILE_TYPE ${_file_type}
#include \"version/VersionInfo.rc\"
")
    target_sources(${target} PRIVATE ${_script})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/res ${QVL_GENERATED_DIR})
    set_source_files_properties(${_script} PROPERTIES OBJECT_DEPENDS
        "${CMAKE_SOURCE_DIR}/res/version/VersionInfo.rc;${QVL_GENERATED_DIR}/QvlVersion.h")
endfunction()
