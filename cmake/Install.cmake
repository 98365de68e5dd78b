# Installs Seikyu like any Linux desktop application: the program, its desktop entry, the invoice
# file type with its icon, the application icons, the AppStream description, the manual page and
# the user guide. `cmake --install <build dir> --prefix <prefix>` and the Debian package share
# these rules.

include(GNUInstallDirs)

set(SEIKYU_LICENSE "LicenseRef-proprietary" CACHE STRING
    "SPDX licence expression of Seikyu, written into the AppStream metainfo and the package's copyright file")

set(SEIKYU_RESOURCES ${CMAKE_SOURCE_DIR}/resources)
set(SEIKYU_ICONS ${SEIKYU_RESOURCES}/icons)
# Debian and the file managers look for documentation under the package's name, not the project's.
set(SEIKYU_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/seikyu)

install(TARGETS seikyu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop entry's name is the one Application.cpp announces with setDesktopFileName, so
# Wayland compositors match the running window to it.
install(FILES ${SEIKYU_RESOURCES}/seikyu.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SEIKYU_RESOURCES}/seikyu-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME seikyu.xml)

# Icons: the scalable drawing, plus PNG renders for desktops and docks that do not scale SVG
# (rendered from the SVGs with rsvg-convert and committed, so a build needs no SVG renderer).
set(SEIKYU_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${SEIKYU_ICONS}/seikyu.svg DESTINATION ${SEIKYU_HICOLOR}/scalable/apps)
install(FILES ${SEIKYU_ICONS}/application-x-seikyu.svg DESTINATION ${SEIKYU_HICOLOR}/scalable/mimetypes)
foreach(size 48 128 256)
    install(FILES ${SEIKYU_ICONS}/hicolor/seikyu-${size}.png
        DESTINATION ${SEIKYU_HICOLOR}/${size}x${size}/apps RENAME seikyu.png)
    install(FILES ${SEIKYU_ICONS}/hicolor/application-x-seikyu-${size}.png
        DESTINATION ${SEIKYU_HICOLOR}/${size}x${size}/mimetypes RENAME application-x-seikyu.png)
endforeach()

# Files that carry the version, the product page or the licence are filled in at configure time.
set(SEIKYU_METAINFO ${CMAKE_BINARY_DIR}/io.github.seikyu.Seikyu.metainfo.xml)
configure_file(${SEIKYU_RESOURCES}/io.github.seikyu.Seikyu.metainfo.xml.in ${SEIKYU_METAINFO} @ONLY)
install(FILES ${SEIKYU_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

configure_file(${SEIKYU_RESOURCES}/copyright ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${SEIKYU_DOCDIR})

# The manual page, compressed as Debian requires (-n keeps the archive free of a time stamp, so
# two builds give the same bytes).
set(SEIKYU_MAN_DIR ${CMAKE_BINARY_DIR}/man)
configure_file(${SEIKYU_RESOURCES}/seikyu.1.in ${SEIKYU_MAN_DIR}/seikyu.1 @ONLY)
find_program(SEIKYU_GZIP gzip)
if(SEIKYU_GZIP)
    add_custom_command(OUTPUT ${SEIKYU_MAN_DIR}/seikyu.1.gz
        COMMAND ${SEIKYU_GZIP} -9 -n -c -f ${SEIKYU_MAN_DIR}/seikyu.1 > ${SEIKYU_MAN_DIR}/seikyu.1.gz
        DEPENDS ${SEIKYU_MAN_DIR}/seikyu.1
        COMMENT "Compressing the manual page")
    add_custom_target(seikyu_manpage ALL DEPENDS ${SEIKYU_MAN_DIR}/seikyu.1.gz)
    install(FILES ${SEIKYU_MAN_DIR}/seikyu.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    install(FILES ${SEIKYU_MAN_DIR}/seikyu.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# A direct install must refresh the caches, or a double-clicked .seikyu file would not open in
# Seikyu until the next login. A package being staged (under DESTDIR, or in CPack's
# _CPack_Packages tree) must not: the cache files would land in the package, and dpkg's triggers
# refresh the system's caches anyway.
install(CODE "set(seikyu_datadir \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
        find_program(seikyu_mime_tool update-mime-database NO_CACHE)
        if(seikyu_mime_tool)
            execute_process(COMMAND ${seikyu_mime_tool} "${CMAKE_INSTALL_PREFIX}/${seikyu_datadir}/mime")
        endif()
        find_program(seikyu_desktop_tool update-desktop-database NO_CACHE)
        if(seikyu_desktop_tool)
            execute_process(COMMAND ${seikyu_desktop_tool} -q "${CMAKE_INSTALL_PREFIX}/${seikyu_datadir}/applications")
        endif()
    endif()
]])

# The About box names the licence.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/AboutBox.cpp TARGET_DIRECTORY seikyu_core
    PROPERTIES COMPILE_DEFINITIONS "SEIKYU_LICENSE=\"${SEIKYU_LICENSE}\"")
