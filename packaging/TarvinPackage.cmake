# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by CPack from the install rules of the whole tree.
# Its dependencies are computed from the installed binaries by dpkg-shlibdeps.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${TARVIN_SUMMARY}")
# Lines of the long description, kept short as the control file wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tarvin calculates one assignment statement a line, such as a=5 or"
    "c=a+5*b, and keeps every variable for the life of its window. The"
    "window shows the result, an archive of the lines entered and a listing"
    "of the variables."
    ""
    "The package also holds tarvin-console, the same calculator for"
    "terminals and scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARVIN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
