# Install layout and packages.
#
# The program reads its data files from its own folder, so the tree is
# relocatable: <prefix>/lib/quorvel holds the program, the data files and
# help.txt side by side, and <prefix>/bin/quorvel is the launcher that copies
# the data files into each user's own folder and starts the program on it
# (src/app/launcher.sh).
include(GNUInstallDirs)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/quorvel.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The files that carry the contact data are filled in from the build's
# QUORVEL_CONTACT_* settings (CMakeLists.txt).
set(QUORVEL_CONFIGURED ${PROJECT_BINARY_DIR}/packaging)
string(REGEX REPLACE "/+$" "" QUORVEL_SCREENSHOT_URL "${QUORVEL_CONTACT_WEBSITE}")
string(APPEND QUORVEL_SCREENSHOT_URL /docs/screenshots/main-window.png)
# AppStream 1.0 (Debian 13) names the developer in <developer>, which 0.16
# (Debian 12) does not know; each release's validator is clean with its own.
execute_process(COMMAND appstreamcli --version OUTPUT_VARIABLE appstream_version ERROR_QUIET)
if(appstream_version MATCHES "AppStream version: 0\\.")
  set(QUORVEL_METAINFO_DEVELOPER "<developer_name>${QUORVEL_CONTACT_NAME}</developer_name>")
else()
  set(QUORVEL_METAINFO_DEVELOPER
    "<developer id=\"org.example\">\n    <name>${QUORVEL_CONTACT_NAME}</name>\n  </developer>")
endif()
foreach(source org.example.quorvel.metainfo.xml copyright changelog quorvel.1 README.tar)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${source} ${QUORVEL_CONFIGURED}/${source} @ONLY)
endforeach()
install(FILES ${QUORVEL_CONFIGURED}/org.example.quorvel.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/ui/icons/quorvel.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/src/ui/icons/quorvel.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES ${PROJECT_SOURCE_DIR}/src/ui/icons/quorvel-32.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME quorvel.png)

# Debian's conventions: the copyright file in machine-readable form, the
# changelog and the manual page compressed with gzip -9n (no name, no time
# stamp, so the same sources give the same bytes).
find_program(QUORVEL_GZIP gzip REQUIRED)
set(QUORVEL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quorvel)
foreach(source changelog quorvel.1)
  execute_process(COMMAND ${QUORVEL_GZIP} -9nc
    INPUT_FILE ${QUORVEL_CONFIGURED}/${source} OUTPUT_FILE ${QUORVEL_CONFIGURED}/${source}.gz
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${QUORVEL_CONFIGURED}/copyright ${QUORVEL_CONFIGURED}/changelog.gz
  DESTINATION ${QUORVEL_DOCDIR})
install(FILES ${PROJECT_BINARY_DIR}/packaging/quorvel.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quorvel)

set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "${QUORVEL_CONTACT_NAME}")
set(CPACK_PACKAGE_CONTACT "${QUORVEL_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}: a small desktop unit converter")
# One line of the extended description per line of text: Debian wants them
# shorter than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
  "Quorvel converts a value from one unit to another of the same category:
more than 500 units in 39 categories, from length, weight and time to
pressure, energy, electric and magnetic quantities, radiation doses and data
rates. Its units live in plain text files, a copy in each user's own folder,
which an edit mode extends.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvel)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_SOURCE_GENERATOR "")
# The .deb installs into /usr (its generator's default prefix); the tar.gz
# unpacks into quorvel-<version>-linux-<cpu>/, a tree like /usr's.
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The tar.gz alone also carries a README at its top (packaging/README.tar).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackProject.cmake)
set(CPACK_QUORVEL_TAR_EXTRAS ${QUORVEL_CONFIGURED}/tar)
file(MAKE_DIRECTORY ${CPACK_QUORVEL_TAR_EXTRAS})
file(COPY_FILE ${QUORVEL_CONFIGURED}/README.tar ${CPACK_QUORVEL_TAR_EXTRAS}/README
  ONLY_IF_DIFFERENT)

set(CPACK_DEBIAN_PACKAGE_NAME quorvel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVEL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUORVEL_CONTACT_WEBSITE}")
# Computed from the program's shared libraries (libqt6widgets6 and the rest)
# where dpkg-shlibdeps and file, which CPack needs for it, are at hand; listed
# otherwise. libqt6gui6 carries the X11 platform plugin as well, so that an
# install without recommended packages opens the window.
find_program(QUORVEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(QUORVEL_FILE file)
if(QUORVEL_DPKG_SHLIBDEPS AND QUORVEL_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libc6, libstdc++6")
endif()

include(CPack)
