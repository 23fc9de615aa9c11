# Compiles the help file of one language (run with cmake -P from CMakeLists.txt).
#
# The pages are converted from UTF-8 into a staging folder, in the code page the help viewer of that
# language reads; chmcmd then compiles the staged project. chmcmd exits with 0 even when it reports
# errors (a broken anchor, a missing page), so its output is read instead, and a warning counts as
# an error: a help file with a dead link is not one to ship.
#
# Variables: LANGUAGE, CODEPAGE, CHARSET, SOURCE_DIR, STAGE_DIR, OUTPUT, CHMCMD, ICONV, PYTHON.

cmake_minimum_required(VERSION 3.25)

foreach(_variable LANGUAGE CODEPAGE CHARSET SOURCE_DIR STAGE_DIR OUTPUT CHMCMD ICONV PYTHON)
    if(NOT DEFINED ${_variable} OR "${${_variable}}" STREQUAL "")
        message(FATAL_ERROR "CompileHelp.cmake needs -D${_variable}=...")
    endif()
endforeach()

set(_project lang_${LANGUAGE}.hhp)
set(_compiled lang_${LANGUAGE}.chm)
if(NOT EXISTS ${SOURCE_DIR}/${LANGUAGE}/${_project})
    message(FATAL_ERROR "${SOURCE_DIR}/${LANGUAGE}/${_project} is missing")
endif()

# A clean stage each time, so that a page deleted from the sources cannot linger in the help file.
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})

file(GLOB _sources ${SOURCE_DIR}/${LANGUAGE}/*)
foreach(_source IN LISTS _sources)
    get_filename_component(_name ${_source} NAME)
    # A page that declares another code page than the one it is converted to would be shown as
    # garbage, and only on the Windows of that language.
    if(_name MATCHES "\\.(htm|hhc|hhk)$")
        file(READ ${_source} _text)
        if(NOT _text MATCHES "charset=${CHARSET}\"")
            message(FATAL_ERROR "${_source} must declare charset=${CHARSET}")
        endif()
    endif()
    # iconv stops at the first character the code page cannot hold, which is what we want to know.
    execute_process(
        COMMAND ${ICONV} -f UTF-8 -t ${CODEPAGE} ${_source}
        OUTPUT_FILE ${STAGE_DIR}/${_name}
        ERROR_VARIABLE _iconv_error
        RESULT_VARIABLE _iconv_result)
    if(NOT _iconv_result EQUAL 0)
        message(FATAL_ERROR "${_source} cannot be converted to ${CODEPAGE}: ${_iconv_error}")
    endif()
endforeach()
file(COPY ${SOURCE_DIR}/help.css DESTINATION ${STAGE_DIR})

execute_process(
    COMMAND ${CHMCMD} ${_project}
    WORKING_DIRECTORY ${STAGE_DIR}
    OUTPUT_VARIABLE _log
    ERROR_VARIABLE _log
    RESULT_VARIABLE _chmcmd_result)
file(WRITE ${STAGE_DIR}/chmcmd.log "${_log}")
if(NOT _chmcmd_result EQUAL 0 OR _log MATCHES "(^|\n)(Error|Warning)" OR NOT EXISTS ${STAGE_DIR}/${_compiled})
    message(FATAL_ERROR "chmcmd could not compile ${_project} cleanly:\n${_log}")
endif()

execute_process(
    COMMAND ${PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/steady_chm_time.py ${STAGE_DIR}/${_compiled}
    ERROR_VARIABLE _steady_error
    RESULT_VARIABLE _steady_result)
if(NOT _steady_result EQUAL 0)
    message(FATAL_ERROR "${_steady_error}")
endif()

get_filename_component(_output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${_output_dir})
file(COPY_FILE ${STAGE_DIR}/${_compiled} ${OUTPUT})
