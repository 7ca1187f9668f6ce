# The module as others consume it: a CMake package, a pkg-config file, the documents, and the two
# Debian packages that CPack builds from the install components.
include(CMakePackageConfigHelpers)

install(EXPORT tkt00740Targets
  NAMESPACE tkt00740::
  DESTINATION ${TKT_INSTALL_CMAKEDIR}
  COMPONENT ${TKT_COMPONENT_MODULE})

configure_package_config_file(
  ${PROJECT_SOURCE_DIR}/cmake/tkt00740Config.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/tkt00740Config.cmake
  INSTALL_DESTINATION ${TKT_INSTALL_CMAKEDIR}
  PATH_VARS TKT_INSTALL_LIBDIR TKT_INSTALL_INCLUDEDIR TKT_INSTALL_DOCDIR)
# The C ABI may only grow within a major version, so any release of the same major version serves
# a host that asked for an older one.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/cmake/tkt00740ConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/cmake/tkt00740Config.cmake
  ${PROJECT_BINARY_DIR}/cmake/tkt00740ConfigVersion.cmake
  DESTINATION ${TKT_INSTALL_CMAKEDIR}
  COMPONENT ${TKT_COMPONENT_MODULE})

configure_file(${PROJECT_SOURCE_DIR}/cmake/tkt00740.pc.in ${PROJECT_BINARY_DIR}/cmake/tkt00740.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/cmake/tkt00740.pc
  DESTINATION ${TKT_INSTALL_PKGCONFIGDIR}
  COMPONENT ${TKT_COMPONENT_MODULE})

install(FILES README.md DESTINATION ${TKT_INSTALL_DOCDIR} COMPONENT ${TKT_COMPONENT_MODULE})
install(DIRECTORY docs/ DESTINATION ${TKT_INSTALL_DOCDIR}/docs
  COMPONENT ${TKT_COMPONENT_MODULE}
  FILES_MATCHING PATTERN "*.md")
install(DIRECTORY examples/ DESTINATION ${TKT_INSTALL_DOCDIR}/examples
  COMPONENT ${TKT_COMPONENT_MODULE}
  PATTERN "__pycache__" EXCLUDE
  PATTERN "*.pyc" EXCLUDE)

include(${PROJECT_SOURCE_DIR}/cmake/DebianPackages.cmake)
