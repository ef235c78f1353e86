# The Debian package of the release build: `cpack -G DEB` in a build configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package does both).
set(CPACK_PACKAGE_NAME vantor)
set(CPACK_PACKAGE_VENDOR "The Vantor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "contest logger for VHF, UHF and microwave contests")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantor logs the contacts of a VHF, UHF or microwave contest with their\n"
    "distance, duplicate mark and running score, and writes the log as an EDI\n"
    "contest file (REG1TEST). It keeps every contact on disk as it is logged\n"
    "and can reopen an EDI file it wrote.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)

set(VANTOR_PACKAGE_MAINTAINER "The Vantor developers <vantor@example.org>"
    CACHE STRING "Who the Debian package names as its maintainer")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VANTOR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program needs are read from its binary. Hamlib, through which the program
# reaches the rig and the rotator, netCDF, through which the map reads its coastlines, and the NATS
# client of a shared contest are named as well: the linker keeps each among the binary's needs
# only while a window calls it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libhamlib4, libnetcdf19, libnats3.4")
# The coasts and borders the map draws, and the NATS server a shared contest runs on each PC and
# on the hub; the program runs without them, alone.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gmt-gshhg-low, nats-server")

include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The package's own changelog, which a Debian package without a revision carries.
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
set(VANTOR_CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${VANTOR_CHANGELOG}
  COMMAND gzip -n -9 -c ${PROJECT_BINARY_DIR}/changelog > ${VANTOR_CHANGELOG}
  DEPENDS ${PROJECT_BINARY_DIR}/changelog
  COMMENT "Compressing the changelog")
add_custom_target(vantor_changelog ALL DEPENDS ${VANTOR_CHANGELOG})
install(FILES ${VANTOR_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
