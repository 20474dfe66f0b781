# Install layout: the executable in bin, its resources in share/awning (where the Qt host looks for
# them when they are not beside the executable); the launcher, icons, metainfo and manual come from
# DesktopIntegration.
include(GNUInstallDirs)

if(TARGET awning)
    install(TARGETS awning RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/awning
    PATTERN linux EXCLUDE)
include(DesktopIntegration)
# GNOME Shell loads extensions from this folder, named by the extension's uuid.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/gnome-shell/extension/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions/awning@larkspur.example)
