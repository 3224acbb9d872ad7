# Where `cmake --install` (and so the Debian package) puts things: the three programs on the
# PATH, and the desktop entry, icons, AppStream metainfo, manual pages and documents where
# desktop menus, software centres, man and Debian look for them. What has to be made first
# (icon sizes, manual pages, the compressed changelog) is made by the default build, so that
# installing only copies.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/AppIcons.cmake)

# The AppStream component id; the desktop entry, icon and WM_CLASS keep the program's name.
set(Q93_APP_ID de.q93config.Q93Config)
set(Q93_PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)
set(Q93_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/doc/changelog.gz)
# Debian's documents folder is named after the package, not after the CMake project.
set(Q93_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/q93config)

add_custom_command(OUTPUT ${Q93_CHANGELOG_GZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
    COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${Q93_GZIP} -9n" -DINPUT=${Q93_PACKAGING_SOURCE}/changelog
            -DOUTPUT=${Q93_CHANGELOG_GZ} -P ${CMAKE_CURRENT_LIST_DIR}/PipeFile.cmake
    DEPENDS ${Q93_PACKAGING_SOURCE}/changelog
    VERBATIM)
add_custom_target(q93_packaging_files ALL DEPENDS ${Q93_MAN_PAGES} ${Q93_ICON_PNGS}
                                                  ${Q93_CHANGELOG_GZ})

# Installing (and cpack) copies what was built and never builds every test program first:
# build the targets above, or everything, before `make install`.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# A umask of the build machine must not leak into the package's folders.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS q93config q93ctl q93sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${Q93_PACKAGING_SOURCE}/q93config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${Q93_PACKAGING_SOURCE}/${Q93_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${Q93_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size IN LISTS Q93_ICON_SIZES)
    install(FILES ${Q93_ICON_DIR}/${_size}x${_size}/q93config.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
install(FILES ${Q93_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The fleet watch as a service, installed but not enabled, and its Prometheus examples.
install(FILES ${Q93_PACKAGING_SOURCE}/systemd/q93ctl-watch.service
        DESTINATION lib/systemd/system)
install(FILES ${Q93_PACKAGING_SOURCE}/prometheus/q93-scrape.yml
              ${Q93_PACKAGING_SOURCE}/prometheus/q93-alerts.yml
              ${Q93_PACKAGING_SOURCE}/prometheus/alertmanager-q93.yml
        DESTINATION ${Q93_DOC_DIR}/examples/prometheus)
# The Grafana dashboard is no example to copy but a file Grafana reads as it is (imported, or
# from a file provider's path), so it lives with the package's data, which a system that
# leaves out documents still installs.
install(FILES ${Q93_PACKAGING_SOURCE}/grafana/q93-fleet.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/q93config/grafana)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${Q93_PACKAGING_SOURCE}/copyright ${Q93_CHANGELOG_GZ}
        DESTINATION ${Q93_DOC_DIR})
# The scheduled jobs as systemd user units, installed but not enabled: each user who wants
# them enables them for the LocationData in their home (README, "Scheduled jobs").
install(FILES ${Q93_PACKAGING_SOURCE}/systemd/q93ctl-backup.service
              ${Q93_PACKAGING_SOURCE}/systemd/q93ctl-backup.timer
              ${Q93_PACKAGING_SOURCE}/systemd/q93ctl-clock.service
              ${Q93_PACKAGING_SOURCE}/systemd/q93ctl-clock.timer
        DESTINATION lib/systemd/user)
