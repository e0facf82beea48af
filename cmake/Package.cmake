# `cpack` (or the `package` target) makes a Debian package of what `cmake --install` installs. Its
# paths are those of the build, so the package is built with CMAKE_INSTALL_PREFIX=/usr
# (`make package` does so, with Debian's hardening flags).

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Package: the prefix is ${CMAKE_INSTALL_PREFIX}; a Debian package wants /usr")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvantile)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorvantile developers")
set(CPACK_PACKAGE_CONTACT "Quorvantile developers <quorvantile@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade toy: pour coloured beads that blend and sparkle")
set(CPACK_PACKAGE_DESCRIPTION
"Click to pour a disc of coloured beads into a tall glass; the beads fall and
pile up like sand, and neighbouring colours slowly blend into bands. Where the
blended colours cross steeply, a sparkle flares up, digs a shaft through the
pile and scores; keep sparkles coming to build a combo multiplier.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary; the score display's fallback font is found at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")

include(CPack)
