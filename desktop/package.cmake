# The Debian package: `cpack -G DEB` in a Release build packs the install above under /usr,
# with the shared-library dependencies worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbitrants)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Orbitrants developers")
set(CPACK_PACKAGE_CONTACT "The Orbitrants developers <developers@orbitrants.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mouse-only arcade game of stealing a token")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the OpenGL library and its driver at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
# The summary above is the description's first line; this is the rest.
set(CPACK_PACKAGE_DESCRIPTION
    "You fly one ship with the mouse alone: turn it by moving the mouse left and
right, thrust with the left button. Steal the glowing token from the enemy
ships and fly it into the hole, which opens only while you carry it. Every
picture is computed when the game starts.
.
The game needs OpenGL 3.3; Mesa's software renderer is enough.")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/package_games.cmake)
include(CPack)
