# The Debian package: `cpack -G DEB` in the build folder packs what `cmake --install` installs,
# under /usr, into tarvik_<version>_<architecture>.deb. Its Depends line is computed from the
# programs' shared libraries (dpkg-shlibdeps, from dpkg-dev).
set(TARVIK_PACKAGE_MAINTAINER "Tarvik developers <tarvik@users.noreply.github.com>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "client for the Tarvik USB chip programmer")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARVIK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Tarvik drives the Tarvik USB HID chip programmer (vendor 0451, product
3210): it identifies the chip by its signature, erases it, writes, verifies
and reads its flash, writes and reads the data EEPROM of AVR chips, and
reads and writes fuse and lock bits. It handles AVR chips on the ISP
connector, AT89 and AT90S chips in the socket and 24xx I2C EEPROMs, with
Intel HEX and binary files and a hex view, in German, English and Russian.

The package holds the desktop program (tarvik) and the command-line tool for
scripts and production lines (tarvik-cli), both with a built-in virtual
programmer, and a udev rule that gives the user at the seat and the members
of the group plugdev access to the programmer.
]=])

# One maintainer script serves as postinst and postrm: it has udev reload its rules.
foreach(script postinst postrm)
    configure_file(udev-reload.sh ${CMAKE_CURRENT_BINARY_DIR}/${script} COPYONLY)
    list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/${script})
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
