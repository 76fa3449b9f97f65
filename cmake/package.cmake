# The Debian package: cmake --build build --target package gives
# quorix_VERSION_ARCH.deb, its dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorix)
set(CPACK_PACKAGE_VENDOR "The Quorix developers")
set(CPACK_PACKAGE_CONTACT "The Quorix developers <quorix@packages.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "X-ray pole figures of crystallographic textures")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The manual opens in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "X-ray pole figures of crystallographic textures
Quorix reads pole figures (intensities on circles of constant tilt alpha,
points along azimuth beta) in plain, Beartex and WKO layouts and shows them
as contoured circular plots in stereographic or equal-area projection. It
rotates, re-grids, smooths, compares, adds, corrects and writes them.
The command-line tool quorix-cli runs the same library for batch work.")
include(CPack)
