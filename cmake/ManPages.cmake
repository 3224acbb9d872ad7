# The manual pages q93config(1), q93ctl(1) and q93sim(1): written in scdoc, rendered to roff
# in Q93_MAN_DIR and compressed as Debian ships them (gzip -9n: no name, no time stamp, so
# that the same source gives the same bytes). scdoc dates a page by SOURCE_DATE_EPOCH when it
# is set; scripts/package.sh sets it from the Debian changelog.
find_program(Q93_SCDOC scdoc REQUIRED)
find_program(Q93_GZIP gzip REQUIRED)

set(Q93_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(Q93_MAN_PAGES "")
foreach(_program q93config q93ctl q93sim)
    set(_source ${CMAKE_SOURCE_DIR}/packaging/man/${_program}.1.scd)
    set(_page ${Q93_MAN_DIR}/${_program}.1)
    add_custom_command(OUTPUT ${_page} ${_page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${Q93_MAN_DIR}
        COMMAND ${CMAKE_COMMAND} -DCOMMAND=${Q93_SCDOC} -DINPUT=${_source} -DOUTPUT=${_page}
                -P ${CMAKE_CURRENT_LIST_DIR}/PipeFile.cmake
        COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${Q93_GZIP} -9n" -DINPUT=${_page} -DOUTPUT=${_page}.gz
                -P ${CMAKE_CURRENT_LIST_DIR}/PipeFile.cmake
        DEPENDS ${_source} ${CMAKE_CURRENT_LIST_DIR}/PipeFile.cmake
        COMMENT "Manual page ${_program}(1)"
        VERBATIM)
    list(APPEND Q93_MAN_PAGES ${_page}.gz)
endforeach()
