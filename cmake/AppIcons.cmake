# The hicolor theme's bitmap sizes of the program icon, rendered from the one SVG drawing so
# that every size shows the same picture as the main window's icon.
find_program(Q93_RSVG_CONVERT rsvg-convert REQUIRED)

set(Q93_ICON_SVG ${CMAKE_SOURCE_DIR}/packaging/icons/q93config.svg)
set(Q93_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(Q93_ICON_SIZES 16 32 48 256)
set(Q93_ICON_PNGS "")
foreach(_size IN LISTS Q93_ICON_SIZES)
    set(_png ${Q93_ICON_DIR}/${_size}x${_size}/q93config.png)
    add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${Q93_ICON_DIR}/${_size}x${_size}
        COMMAND ${Q93_RSVG_CONVERT} --width ${_size} --height ${_size} --output ${_png}
                ${Q93_ICON_SVG}
        DEPENDS ${Q93_ICON_SVG}
        COMMENT "Icon ${_size}x${_size}"
        VERBATIM)
    list(APPEND Q93_ICON_PNGS ${_png})
endforeach()
