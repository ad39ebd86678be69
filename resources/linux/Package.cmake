# The Debian package: cpack -G DEB in the build folder. Dependencies come from
# dpkg-shlibdeps (package dpkg-dev); the maintainer scripts reload the udev
# rules and refresh the MIME, desktop and icon caches.
set(CPACK_PACKAGE_NAME quilo)
set(CPACK_PACKAGE_VENDOR "QUILO developers")
set(CPACK_PACKAGE_CONTACT "QUILO developers <quilo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "control program for a karaoke and home-theatre audio processor")
set(CPACK_PACKAGE_DESCRIPTION
    "QUILO adjusts the QUILO audio processor, attached by USB, live while you
listen: microphone and music volumes, echo and reverb, parametric equalisers,
crossovers, delays, compressors and noise gates of eight outputs, room
correction, stored modes and mode files, smart plugs and remote-control
learning. quilo --emulate tries every window on an emulated processor.
.
The package also holds quiloctl, a command-line tool for the processor and its
mode files, and a udev rule that lets the logged-in user open the processor.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese texts and the Latin ones are drawn in Noto fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/debian/postinst
    ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
