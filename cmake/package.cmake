# `make package`: a Debian package of what cmake/install.cmake installs, under
# /usr, versioned with the project. Its dependencies are read from the
# libraries the program links (dpkg-shlibdeps), plus the CJK font the window
# needs to show its Chinese texts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fundwatch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "follows the intraday estimates of Chinese open-end mutual funds")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool that keeps a watch list of fund codes and shows each fund's live\n\
intraday estimate, refreshed on a timer, with a detail panel of its trend chart,\n\
its largest stock holdings and an overview.")
set(CPACK_PACKAGE_CONTACT "Fund watch tool team <fundwatch@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wqy-microhei)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
include(CPack)
