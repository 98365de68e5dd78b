# The Debian package: `cmake --build <build dir> --target package` (or `cpack -G DEB` in the build
# directory) writes seikyu_<version>_amd64.deb, which `apt-get install ./seikyu_*.deb` installs with
# its dependencies. The install rules of cmake/Install.cmake decide what goes in.

set(SEIKYU_MAINTAINER "The Seikyu developers <seikyu@example.org>" CACHE STRING
    "Maintainer field of the Debian package: name <e-mail>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME seikyu)
set(CPACK_PACKAGE_VENDOR "The Seikyu developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${SEIKYU_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compose Japanese invoices (seikyusho) and export them as PDF")
set(CPACK_PACKAGE_HOMEPAGE_URL "${SEIKYU_PRODUCT_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build carries debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # seikyu_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE "")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SEIKYU_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SEIKYU_PRODUCT_URL}")
# The long description under the summary line (CPack indents it as Debian wants).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Seikyu composes a common-style Japanese invoice on one printable A4 page:
a title, a date in the Western or Japanese era calendar, the customer with
an honorific, your own details and seal, and an item table that totals
itself with the consumption tax. The page is exported as a PDF with
searchable text, or printed. Invoice files can also be exported from the
command line without a display.")

# The libraries the program links (Qt, ICU, qpdf, the C++ runtime) are found by dpkg-shlibdeps
# from the binary itself, with their versions. What it loads
# at run time must be named: the platform plugins that draw the windows, the SVG image plugin for
# the icon, and the page's font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-ipaexfont, icc-profiles-free")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "poppler-utils")

# Debian requires a changelog in the package's documentation folder.
# The date only, so that configuring again leaves the file alone (SOURCE_DATE_EPOCH is honoured).
string(TIMESTAMP SEIKYU_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog CONTENT "\
seikyu (${PROJECT_VERSION}) stable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${SEIKYU_MAINTAINER}  ${SEIKYU_CHANGELOG_DATE}
")
find_program(SEIKYU_GZIP gzip)
if(SEIKYU_GZIP)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
        COMMAND ${SEIKYU_GZIP} -9 -n -c -f ${CMAKE_BINARY_DIR}/doc/changelog
                > ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog
        COMMENT "Compressing the package changelog")
    add_custom_target(seikyu_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
    # A native package (no Debian revision in its version) names it changelog.gz, not
    # changelog.Debian.gz.
    install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/seikyu)
endif()

include(CPack)
