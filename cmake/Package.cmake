# What a Debian system expects beside the programs (AppStream metadata, bash completion, the
# copyright file, the changelog, the user guide) and the CPack rules that make the .deb:
#   cpack --config <build>/CPackConfig.cmake        (scripts/package does it)
# The package is named tolm, its version is the project's (the one --version prints), and its
# dependencies are found by dpkg-shlibdeps from the programs themselves.

set(TOLM_HOMEPAGE "https://github.com/tolm/Tolm" CACHE STRING
    "The project's home page: package Homepage, AppStream addresses and screenshots")
set(TOLM_MAINTAINER "The Tolm developers <maintainers@example.org>" CACHE STRING
    "Name <address> of whoever answers for the package")
# The licence is the project's, not a choice of the build: COPYING holds its text, the
# copyright file names it as Debian does (GPL-3+), AppStream by its SPDX name.
set(TOLM_LICENSE "GPL-3.0-or-later")

set(tolm_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tolm)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

# AppStream: the id names the desktop entry, so software centres connect the two.
configure_file(${packaging}/io.github.tolm.Tolm.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/io.github.tolm.Tolm.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/io.github.tolm.Tolm.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# lintian's notes on tags it cannot judge from the binaries alone, each with its reason.
install(FILES ${packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tolm)

# bash-completion loads a completion by the command's name from this folder.
install(FILES ${packaging}/completion/tolm-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The copyright file and the changelog, gzipped as Debian keeps it. A package whose version
# has no Debian revision is a native package: its changelog is changelog.gz.
configure_file(${packaging}/copyright ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
execute_process(COMMAND date -u -R -d "${TOLM_RELEASE_DATE}"
                OUTPUT_VARIABLE TOLM_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${packaging}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
set(changelog_gz ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
    OUTPUT ${changelog_gz}
    COMMAND sh -c "gzip -9n < '${PROJECT_BINARY_DIR}/packaging/changelog' > '${changelog_gz}'"
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(tolm_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright ${changelog_gz}
        DESTINATION ${tolm_doc_dir})

# The user guide, the part file format it links to, and the screenshots it shows, at the paths
# it names them by.
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/device-format.md
        DESTINATION ${tolm_doc_dir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/screenshots DESTINATION ${tolm_doc_dir}
        FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TOLM_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "program PIC microcontrollers through a programmer module")
set(CPACK_PACKAGE_DESCRIPTION
    "Tolm reads, writes, verifies and blank-checks Microchip PIC microcontrollers,\n"
    "thirty devices from the 12c508 to the 16f877, through a programmer module on a\n"
    "serial port or a USB serial adapter. It keeps an image of the chip (program\n"
    "words, data EEPROM, configuration word, ID code, oscillator calibration) and\n"
    "loads and saves it as the Intel HEX files an assembler writes.\n"
    "\n"
    "The package holds the desktop program tolm, the command-line program tolm-cli\n"
    "for scripts and production benches (up to sixteen modules at once), and\n"
    "tolm-modsim, a simulator of the module and a chip for trying it all without\n"
    "hardware.")
# One text from the lines above (none of them holds a semicolon, CMake's list separator).
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${TOLM_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_TOLM_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/StripUnneededSections.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TOLM_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt loads its SQLite and PostgreSQL drivers as plugins, which dpkg-shlibdeps cannot see: name
# them when the production log (Qt SQL: a file, or a database several benches share) is part of
# the build.
if(EXISTS ${PROJECT_SOURCE_DIR}/src/production)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gputils")

include(CPack)
