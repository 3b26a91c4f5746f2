# Installation: the program, its manual page and the CMake package; the Debian package of the
# same install (cpack -G DEB).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TESSEL_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tessel)

install(TARGETS tessel EXPORT tesselTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT tesselTargets NAMESPACE tessel:: DESTINATION ${TESSEL_PACKAGE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tesselConfig.cmake.in
  ${PROJECT_BINARY_DIR}/tesselConfig.cmake INSTALL_DESTINATION ${TESSEL_PACKAGE_DIR})
# tessel runs on the build machine, so a consumer of any architecture (a cross build) may use it.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tesselConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES
    ${PROJECT_BINARY_DIR}/tesselConfig.cmake
    ${PROJECT_BINARY_DIR}/tesselConfigVersion.cmake
    ${PROJECT_SOURCE_DIR}/cmake/TesselResources.cmake
  DESTINATION ${TESSEL_PACKAGE_DIR})

set(TESSEL_VERSION ${PROJECT_VERSION})
configure_file(${PROJECT_SOURCE_DIR}/docs/tessel.1 ${PROJECT_BINARY_DIR}/tessel.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tessel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tessel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Compiler of KLX resource sources into Windows resource scripts")
set(CPACK_PACKAGE_CONTACT "tessel developers <tessel@localhost>" CACHE STRING
  "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
