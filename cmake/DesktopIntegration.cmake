# What makes Awning an application of the desktop once installed: the launcher, the icon theme's sizes,
# the AppStream metainfo, the manual page and the documents a Debian package carries. Everything is made
# from one source each: the icon from resources/awning.svg, names, addresses and the version from the
# Info property list, the manual's options from the command line's own table.
set(linux_resources ${PROJECT_SOURCE_DIR}/resources/linux)
set(desktop_out ${CMAKE_CURRENT_BINARY_DIR}/desktop)

# The newest release in the metainfo is the one being built: its notes and date are written there.
file(READ ${linux_resources}/${AWNING_BUNDLE_IDENTIFIER}.metainfo.xml.in awning_metainfo)
if(NOT awning_metainfo MATCHES "<release version=\"([^\"]+)\" date=\"([0-9-]+)\"")
    message(FATAL_ERROR "the metainfo lists no release")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL AWNING_VERSION)
    message(FATAL_ERROR "the metainfo's newest release is ${CMAKE_MATCH_1}, the Info property list's version "
        "${AWNING_VERSION}: add a release for it, with its date and notes")
endif()
set(AWNING_RELEASE_DATE ${CMAKE_MATCH_2})

# The screenshot's size, as software centres want it, read from the picture scripts/screenshot-settings
# takes (a PNG's width and height are the two big-endian words at byte 16).
file(READ ${PROJECT_SOURCE_DIR}/docs/images/settings.png awning_screenshot_size OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${awning_screenshot_size}" 0 8 width)
string(SUBSTRING "${awning_screenshot_size}" 8 8 height)
math(EXPR AWNING_SCREENSHOT_WIDTH "0x${width}")
math(EXPR AWNING_SCREENSHOT_HEIGHT "0x${height}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/images/settings.png)

configure_file(${linux_resources}/${AWNING_BUNDLE_IDENTIFIER}.metainfo.xml.in
    ${desktop_out}/${AWNING_BUNDLE_IDENTIFIER}.metainfo.xml @ONLY)
configure_file(${linux_resources}/copyright.in ${desktop_out}/copyright @ONLY)

# The changelog Debian wants beside the copyright, naming the release and where its notes are, signed by
# the package's maintainer.
set(AWNING_PACKAGE_MAINTAINER "${AWNING_MAKER} <awning@${AWNING_SITE_HOST}>")
execute_process(COMMAND date -u -R -d "${AWNING_RELEASE_DATE}" OUTPUT_VARIABLE release_time
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(CONFIGURE OUTPUT ${desktop_out}/changelog CONTENT
    "awning (${AWNING_VERSION}) stable; urgency=medium\n\n  * Awning ${AWNING_VERSION}; its notes are in its AppStream metainfo.\n\n -- ${AWNING_PACKAGE_MAINTAINER}  ${release_time}\n")

add_custom_command(OUTPUT ${desktop_out}/icons.stamp
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/render-icons ${PROJECT_SOURCE_DIR}/resources/awning.svg
            ${AWNING_BUNDLE_IDENTIFIER} ${desktop_out}/icons
    COMMAND ${CMAKE_COMMAND} -E touch ${desktop_out}/icons.stamp
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/render-icons ${PROJECT_SOURCE_DIR}/resources/awning.svg
    COMMENT "Rendering the icon's sizes")
add_custom_command(OUTPUT ${desktop_out}/awning.1
    COMMAND awning-manual-page ${linux_resources}/awning.1.in ${desktop_out}/awning.1 ${AWNING_VERSION}
            ${AWNING_RELEASE_DATE}
    DEPENDS awning-manual-page ${linux_resources}/awning.1.in
    COMMENT "Writing awning(1)")
# Compressed without a name or time inside, so that the same sources make the same file.
foreach(document awning.1 changelog)
    add_custom_command(OUTPUT ${desktop_out}/${document}.gz
        COMMAND gzip -9 -n -k -f ${desktop_out}/${document}
        DEPENDS ${desktop_out}/${document})
endforeach()
add_custom_target(awning_desktop_files ALL
    DEPENDS ${desktop_out}/icons.stamp ${desktop_out}/awning.1.gz ${desktop_out}/changelog.gz)

install(FILES ${linux_resources}/${AWNING_BUNDLE_IDENTIFIER}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${desktop_out}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${desktop_out}/${AWNING_BUNDLE_IDENTIFIER}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_out}/awning.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop_out}/copyright ${desktop_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/awning)
