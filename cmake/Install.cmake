# Install layout: the executable in bin, its resources in share/awning (where the Qt host looks for
# them when they are not beside the executable), and the desktop entry and icon for launchers.
include(GNUInstallDirs)

if(TARGET awning)
    install(TARGETS awning RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/awning
    PATTERN linux EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/awning.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The bundle's own icon, the one source of every size a launcher or a window shows.
install(FILES ${PROJECT_SOURCE_DIR}/resources/awning.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# GNOME Shell loads extensions from this folder, named by the extension's uuid.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/gnome-shell/extension/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions/awning@larkspur.example)
