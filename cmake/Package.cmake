# The Debian package: whatever `cmake --install` puts down, under /usr, made by `cpack -G DEB`
# (scripts/package). Its dependencies are read from the executable's libraries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME awning)
set(CPACK_PACKAGE_VERSION ${AWNING_VERSION})
set(CPACK_PACKAGE_VENDOR "${AWNING_MAKER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tint the desktop's top panel with a gradient")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Awning lays a vertical gradient of three colours over the desktop's top
panel, at one opacity while the pointer is away and at another while it is
over the panel. It follows the panel as it appears, hides or changes size,
lets every click through, and remembers its colours for each desktop
picture. It runs on X11 desktops with a compositing manager, on Wayland
compositors that offer the layer-shell protocol, and on GNOME on Wayland
through a GNOME Shell extension of its own, which the package carries.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${AWNING_PRODUCT_PAGE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${AWNING_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What Awning loads or needs at run time, which no library list shows: Qt's Wayland platform (the X11
# one comes with libqt6gui6), and on X11 a compositing manager where the desktop has none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "picom | xcompmgr")
# Control files and folders with the modes dpkg and lintian expect, not the build tree's.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The development build carries debugging information; the package does not.
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
