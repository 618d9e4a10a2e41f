# SPDX-License-Identifier: MIT
# Read by cpack for each generator. The release archive holds one folder sorvala-<version>/ with a
# relocatable prefix; its file name adds the system and the architecture.
if(CPACK_GENERATOR MATCHES "TGZ|TXZ|ZIP")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    set(CPACK_PACKAGING_INSTALL_PREFIX "/sorvala-${CPACK_PACKAGE_VERSION}")
    set(CPACK_PACKAGE_FILE_NAME "sorvala-${CPACK_PACKAGE_VERSION}-linux-${CPACK_SORVALA_ARCH}")
elseif(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
endif()
