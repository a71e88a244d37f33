# SPDX-FileCopyrightText: 2026 The Tavolen developers
# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in the build directory makes tavolen_<version>_amd64.deb.
set(CPACK_PACKAGE_NAME tavolen)
set(CPACK_PACKAGE_VENDOR "Tavolen")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads posts, comments and messages on screen and suggests a reply")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavolen is a tray utility: press Alt+Shift+S, select a post, comment or message on screen, and a floating panel explains it and offers a reply to copy.")
set(CPACK_PACKAGE_CONTACT "Tavolen developers <dev@tavolen.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the libraries the binaries link; these are loaded at
# run time instead: the X11 platform plugin, the JPEG image plugin (in
# libqt6gui6), the capture sound, a CJK font with real weights and an emoji
# font for the readings and replies, and the text
# recognition models of the analysis service.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6gui6, sound-theme-freedesktop, fonts-noto-cjk, fonts-noto-color-emoji, tesseract-ocr-eng, tesseract-ocr-chi-sim, ca-certificates")
# On Wayland: the reply reaches the clipboard through wl-copy, the screen
# and the trigger come through the desktop portal, and the windows through
# XWayland. An X11 desktop needs none of them. The Japanese, Korean and
# Russian recognition models let the service read lines in those scripts,
# which it otherwise reports as unreadable.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "wl-clipboard, xdg-desktop-portal, xwayland, tesseract-ocr-jpn, tesseract-ocr-kor, tesseract-ocr-rus")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
