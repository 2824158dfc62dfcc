# The Debian package, built by CPack from the install rules (data/CMakeLists.txt) with the prefix
# /usr: `make package` writes orbivane_<version>_amd64.deb into the build folder. Its Depends are
# computed by dpkg-shlibdeps from the libraries the executables link; the desktop's icon and
# desktop-entry caches are refreshed by dpkg's triggers, so the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbivane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Orbivane developers")
set(CPACK_PACKAGE_CONTACT "The Orbivane developers <orbivane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file manager that shows folders as rings")
set(CPACK_PACKAGE_DESCRIPTION
"Orbivane shows the file system as flat rings in an OpenGL view. Every open
folder is a ring: its files and sub-folders lie round it in sectors sized by
how much they hold, and an expanded folder opens outwards inside its sector,
so that one sees at a glance where the space of a disk goes.

Rings spin, pan and zoom with the mouse or the keyboard. Files and folders are
copied, moved, renamed, created and moved to the trash with an undo; folder
sizes are counted in the background and rings follow changes on the disk.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/orbivane/orbivane")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
