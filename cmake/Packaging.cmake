# The release packages, made by cpack (scripts/package runs it): a Debian
# package from the Linux build, a zip from each Windows build.

# Installing builds nothing: scripts/package builds the programs first, and
# the test programs stay out of it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorlith developers")
set(CPACK_PACKAGE_CONTACT "The Quorlith developers <quorlith@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurable drop box that captures file paths")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # Quorlith.exe and Quorlith.txt in a folder of their own; the settings
  # file is written beside them at the first start.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Quorlith)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME "Quorlith-${PROJECT_VERSION}-win64")
  else()
    set(CPACK_PACKAGE_FILE_NAME "Quorlith-${PROJECT_VERSION}-win32")
  endif()
else()
  # quorlith_<version>_<architecture>.deb, its dependencies read from the
  # program by dpkg-shlibdeps. The program itself is stripped; Qt finds its
  # X11 platform plugin in libqt6gui6, which the program links.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME quorlith)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Open Settings and Open ReadMe File hand the files to xdg-open; a Wayland
  # session without XWayland needs Qt's Wayland platform plugin.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quorlith shows one small, semi-transparent drop box that stays above the
other windows. Files and folders dropped on it have their paths put on the
clipboard (the full path, the name, the extension or the folder, quoted or
not, joined by the separator of your choice), or are copied or moved into a
folder, or deleted into the Trash. Every setting lives in one hand-edited
settings file.")
endif()

include(CPack)
