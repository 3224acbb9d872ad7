# `cpack -G DEB` in a Release build: q93config_1.2.6_<arch>.deb, its dependencies found by
# dpkg-shlibdeps from the programs themselves, the programs stripped. Everything in the
# package comes from the install rules of cmake/Install.cmake.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME q93config)
# Debian's version has no fourth field: 1.2.6, as the changelog says.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_CONTACT "Q93Config maintainers <maintainers@q93config.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for Q93 FM stereo encoders")
set(CPACK_PACKAGE_DESCRIPTION
    "Q93 Config reads and writes the eight presets and the device settings of\n"
    "Q93 FM stereo encoders over a serial line or TCP, keeps the settings of\n"
    "every encoder of several broadcast sites on disk in a tree of sites and\n"
    "encoders, sets the encoders' clocks, logs every frame on the wire and shows\n"
    "live modulation levels.\n"
    "\n"
    "The package holds the desktop tool q93config, the command-line tool q93ctl\n"
    "(the same transfers for scripts, with backups and comparisons of a whole\n"
    "fleet) and q93sim, a simulated encoder for tests, demos and training.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
