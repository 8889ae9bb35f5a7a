# "make package": a Debian package of the installed files, made by CPack.
# The libraries the program links come from dpkg-shlibdeps; the packages
# below are what it loads at run time without linking them, found by
# installing the package on a fresh Debian 12 and starting the program there.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kinemo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KINEMO_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KINEMO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, not linked: Japanese texts of Qt's own dialogs, the
# icon's SVG reader, a Japanese font (without it every character is a box),
# the player's GStreamer demuxers and decoders (avi, mov/mp4, mpg: the last
# needs -bad), and xdg-open for the help page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, libqt6svg6, fonts-noto-cjk, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav, xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "motion analysis of objects filmed on video, for school physics")
# CPack puts the summary above the description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kinemo (キネモ) is a tool for physics lessons. Students open a video of an
experiment, click the moving object frame by frame, and get elapsed time,
distance and speed as tables and graphs. A ruler filmed in the scene sets
the scale; camera shake can be corrected; measurements are saved as CSV and
printed. All of the program's texts are Japanese.
.
Class-wide default settings are read from /etc/kinemo/kinmo.txt.")
include(CPack)
