# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P install_tree.cmake
# Installs the build into an empty PREFIX and checks the tree file for file: the programs,
# the menu entry, each icon size at its size, the metainfo, the manual pages compressed
# without a time stamp, the Grafana dashboard, and Debian's documents with the monitoring
# examples.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    OUTPUT_QUIET RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${_result}")
endif()

set(_expected
    bin/q93config
    bin/q93ctl
    bin/q93sim
    lib/systemd/system/q93ctl-watch.service
    lib/systemd/user/q93ctl-backup.service
    lib/systemd/user/q93ctl-backup.timer
    lib/systemd/user/q93ctl-clock.service
    lib/systemd/user/q93ctl-clock.timer
    share/applications/q93config.desktop
    share/doc/q93config/README.md
    share/doc/q93config/changelog.gz
    share/doc/q93config/copyright
    share/doc/q93config/examples/prometheus/alertmanager-q93.yml
    share/doc/q93config/examples/prometheus/q93-alerts.yml
    share/doc/q93config/examples/prometheus/q93-scrape.yml
    share/icons/hicolor/16x16/apps/q93config.png
    share/icons/hicolor/256x256/apps/q93config.png
    share/icons/hicolor/32x32/apps/q93config.png
    share/icons/hicolor/48x48/apps/q93config.png
    share/icons/hicolor/scalable/apps/q93config.svg
    share/man/man1/q93config.1.gz
    share/man/man1/q93ctl.1.gz
    share/man/man1/q93sim.1.gz
    share/metainfo/${APP_ID}.metainfo.xml
    share/q93config/grafana/q93-fleet.json)
file(GLOB_RECURSE _installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT _installed)
if(NOT _installed STREQUAL _expected)
    list(JOIN _installed "\n  " _got)
    message(FATAL_ERROR "installed tree differs; it holds:\n  ${_got}")
endif()

foreach(_program q93config q93ctl q93sim)
    execute_process(COMMAND test -x ${PREFIX}/bin/${_program} RESULT_VARIABLE _result)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "bin/${_program} is not executable")
    endif()
endforeach()

# A PNG's width and height are the two big-endian words after its IHDR tag.
foreach(_size 16 32 48 256)
    set(_png ${PREFIX}/share/icons/hicolor/${_size}x${_size}/apps/q93config.png)
    file(READ ${_png} _header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING ${_header} 0 8 _width)
    string(SUBSTRING ${_header} 8 8 _height)
    math(EXPR _width "0x${_width}")
    math(EXPR _height "0x${_height}")
    if(NOT _width EQUAL _size OR NOT _height EQUAL _size)
        message(FATAL_ERROR "${_size}x${_size} icon is ${_width}x${_height}")
    endif()
endforeach()

# gzip -n: the magic, deflate, no flags (no file name) and a zero time stamp.
foreach(_gz share/man/man1/q93config.1.gz share/man/man1/q93ctl.1.gz
            share/man/man1/q93sim.1.gz share/doc/q93config/changelog.gz)
    file(READ ${PREFIX}/${_gz} _header LIMIT 8 HEX)
    if(NOT _header STREQUAL "1f8b080000000000")
        message(FATAL_ERROR "${_gz} starts ${_header}, not as gzip -n writes it")
    endif()
endforeach()
