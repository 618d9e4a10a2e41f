# SPDX-License-Identifier: MIT
# Packages made from the install rules, in the build folder:
#   cpack -G DEB   sorvala_<version>-1_<arch>.deb, for /usr, dependencies from dpkg-shlibdeps
#   cpack -G TGZ   sorvala-<version>-linux-<arch>.tar.gz, one folder sorvala-<version>/ holding the
#                  same bin/ and share/ as any install prefix; scripts/install-user and the updater
#                  unpack it as it is.
include(GNUInstallDirs)

# The programs link only system libraries (every library of ours is static, or a module found
# relative to the program) and the install drops the build's RPATH, so an installed tree runs from
# wherever it is put.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian keeps these two beside every package's files; they do no harm in the other installs.
set(debianDoc ${CMAKE_CURRENT_BINARY_DIR}/debian)
sorvala_gzip(${PROJECT_SOURCE_DIR}/data/debian/changelog ${debianDoc}/changelog.Debian.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${debianDoc}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sorvala)

set(SORVALA_PACKAGE_MAINTAINER "Sorvala developers <maintainers@sorvala.invalid>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME sorvala)
set(CPACK_PACKAGE_VENDOR "The Sorvala developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "break reminder that draws while you rest")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Sorvala lives in the system tray, measures how long you have worked and asks\n"
    "for micro breaks and long breaks. A long break covers every display with a\n"
    "line drawing drawn stroke by stroke. A due break waits while you are plainly\n"
    "busy. It comes with a screen saver (sorvala-saver) and a command line\n"
    "(sorvalactl).")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SORVALA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Banners need a notification service, a Wayland session Qt's Wayland platform; GNOME shows tray
# items only with the AppIndicator extension. Qt's own words (dialog buttons, context menus) come in
# the user's language from Qt's translations. Without a desktop portal, GNOME's colour scheme is read
# with the gsettings tool.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "notification-daemon | dunst | xfce4-notifyd | mate-notification-daemon, qt6-wayland, qt6-translations-l10n, libglib2.0-bin")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-shell-extension-appindicator, xscreensaver | mate-screensaver")

set(CPACK_SORVALA_ARCH ${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/SorvalaPackagingPerGenerator.cmake)

include(CPack)
