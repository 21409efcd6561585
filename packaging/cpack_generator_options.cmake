# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack once per generator it runs.
if(CPACK_GENERATOR STREQUAL "DEB")
    # A Debian package lives under /usr whatever prefix the build tree was
    # configured with. (Not set for the source archive: it would nest the
    # sources under usr/.)
    set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
endif()
