# Install layout and packages.
#
# The program reads its data files from its own folder, so the tree is
# relocatable: <prefix>/lib/quorvel holds the program, the data files and
# help.txt side by side, and <prefix>/bin/quorvel is a relative symlink to it
# (the program resolves its real folder through /proc/self/exe).
include(GNUInstallDirs)

set(QUORVEL_INSTALL_APPDIR lib/quorvel)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/quorvel.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/icons/quorvel.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/icons/quorvel.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/icons/quorvel-32.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME quorvel.png)

# The symlink is made in the staging tree, relative, so it survives any
# prefix and any DESTDIR.
install(CODE "
  set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bindir}\")
  file(CREATE_LINK ../${QUORVEL_INSTALL_APPDIR}/quorvel \"\${bindir}/quorvel\" SYMBOLIC)
  message(STATUS \"Installing: \${bindir}/quorvel -> ../${QUORVEL_INSTALL_APPDIR}/quorvel\")
")

set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "Quorvel developers")
set(CPACK_PACKAGE_CONTACT "Quorvel developers <quorvel@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}: a small desktop unit converter")
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvel converts a value from one unit to another of the same category \
(length, weight, time and more). Its units live in plain text files beside \
the program, which an edit mode extends.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvel)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_SOURCE_GENERATOR "")
# The .deb installs into /usr (its generator's default prefix); the tar.gz
# unpacks into quorvel-<version>-linux-<cpu>/, a tree like /usr's.
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

set(CPACK_DEBIAN_PACKAGE_NAME quorvel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvel developers <quorvel@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvel.example.org/")
# Computed from the program's shared libraries (libqt6widgets6 and the rest)
# where dpkg-shlibdeps is at hand, listed otherwise.
find_program(QUORVEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUORVEL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libc6, libstdc++6")
endif()

include(CPack)
