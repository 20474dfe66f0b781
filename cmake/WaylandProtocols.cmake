# Client code for Wayland protocols, generated at build time by wayland-scanner from the XML files the
# system installs: wayland-protocols for the standard ones, the wlroots protocols (layer-shell, virtual
# pointer), which Debian ships only inside librust-wayland-protocols-dev's source tree, and KDE's
# (plasma-wayland-protocols).
#
#   awning_wayland_protocols(TARGET name PROTOCOLS protocol...)
#
# makes a static library `name` holding the code of each protocol (a file name without ".xml", found in the
# folders below) and a header "<protocol>-client-protocol.h" for each on its include path.
enable_language(C)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
file(GLOB _awning_wlr_candidates LIST_DIRECTORIES true
    /usr/share/cargo/registry/wayland-protocols-*/wlr-protocols/unstable)
find_path(WLR_PROTOCOLS_DIR wlr-layer-shell-unstable-v1.xml
    HINTS ${_awning_wlr_candidates} /usr/share/wlr-protocols/unstable
    DOC "folder with wlr-layer-shell-unstable-v1.xml (Debian: librust-wayland-protocols-dev)")
if(NOT WAYLAND_PROTOCOLS_DIR OR NOT WLR_PROTOCOLS_DIR)
    message(FATAL_ERROR "Wayland protocol files not found: install wayland-protocols and "
        "librust-wayland-protocols-dev (scripts/setup does), or set WLR_PROTOCOLS_DIR")
endif()
set(_awning_protocol_folders
    ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell
    ${WAYLAND_PROTOCOLS_DIR}/staging/xdg-activation
    ${WLR_PROTOCOLS_DIR}
    /usr/share/plasma-wayland-protocols)

function(awning_wayland_protocols)
    cmake_parse_arguments(ARG "" "TARGET" "PROTOCOLS" ${ARGN})
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET})
    set(sources)
    foreach(protocol IN LISTS ARG_PROTOCOLS)
        unset(xml)
        find_file(xml ${protocol}.xml PATHS ${_awning_protocol_folders} NO_DEFAULT_PATH NO_CACHE)
        if(NOT xml)
            message(FATAL_ERROR "Wayland protocol ${protocol}.xml not found in ${_awning_protocol_folders}")
        endif()
        add_custom_command(
            OUTPUT ${folder}/${protocol}-client-protocol.h ${folder}/${protocol}-protocol.c
            COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
            COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${folder}/${protocol}-client-protocol.h
            COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${folder}/${protocol}-protocol.c
            DEPENDS ${xml}
            COMMENT "Generating the client code of ${protocol}"
            VERBATIM)
        list(APPEND sources ${folder}/${protocol}-client-protocol.h ${folder}/${protocol}-protocol.c)
    endforeach()
    add_library(${ARG_TARGET} STATIC ${sources})
    target_include_directories(${ARG_TARGET} SYSTEM PUBLIC ${folder})
    target_link_libraries(${ARG_TARGET} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
