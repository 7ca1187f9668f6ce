# Two Debian packages built by `cpack -G DEB` (scripts/package-check.sh):
#
#   tkt00740       the module for integrators: libtkt00740.so.*, libtkt_contracts.so, the header,
#                  the CMake and pkg-config files, the documents and examples
#   tkt00740-demo  what stands in for the point-of-sale installation: the host's shared services
#                  library and common UI package (stand-ins), pos_host, make_demo and the tools
#
# Both install under /opt/tkt00740. The stand-ins carry the names of the host's own libraries
# (libshared_services.so, libPkg_Aux00090.so), and the tools have short generic names; neither
# belongs on the distribution's library path or in /usr/bin. Integrators point CMAKE_PREFIX_PATH or
# PKG_CONFIG_PATH at /opt/tkt00740.
#
# Run-time dependencies come from two sources:
#   - dpkg-shlibdeps reads every library the binaries are linked to (Qt 6 Core/Gui/Widgets/Sql/
#     Network/Svg/Test, libsqlite3, libodbc, libstdc++) and names the packages with their minimum
#     versions, so the list follows the build instead of being kept by hand. The libraries of this
#     project are private (found through RUNPATH); dpkg-shlibdeps is told where they are so that it
#     knows them, and only warns that no package describes them.
#   - Qt loads its database drivers and platform plugins at run time with dlopen, which no linker
#     record shows: those are declared here by name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tkt00740)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "tkt00740 project")
set(CPACK_PACKAGE_CONTACT "tkt00740 maintainers <tkt00740@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Comanda information module of the point-of-sale host")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/tkt00740)
set(CPACK_STRIP_FILES OFF)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${TKT_COMPONENT_MODULE} ${TKT_COMPONENT_DEMO})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})

set(CPACK_DEBIAN_MODULE_PACKAGE_NAME tkt00740)
set(CPACK_COMPONENT_MODULE_DESCRIPTION
  "Comanda information module of the point-of-sale host\n The module shows the comanda dialog and answers five lookup services through a C ABI.\n The host's shared services library and common UI package must be loaded first.")
# The embedded store is SQLite and server stores are reached through ODBC; the dialog needs a Qt
# platform plugin (xcb on a terminal, offscreen or vnc in tests).
set(CPACK_DEBIAN_MODULE_PACKAGE_DEPENDS
  "libqt6sql6-sqlite (>= 6.4), libqt6sql6-odbc (>= 6.4), unixodbc, qt6-qpa-plugins (>= 6.4)")
set(CPACK_DEBIAN_MODULE_PACKAGE_SUGGESTS "odbc-postgresql, tdsodbc")

set(CPACK_DEBIAN_DEMO_PACKAGE_NAME tkt00740-demo)
set(CPACK_COMPONENT_DEMO_DESCRIPTION
  "Demo point-of-sale host for the tkt00740 module\n Stand-ins of the host's shared services library and common UI package, the pos_host\n demo program, the demo store command make_demo, the packet and .cds tool cdstool and\n the loopback latency proxy.")
# The stand-ins and pos_host need this very build of the module and of libtkt_contracts.so.
set(CPACK_DEBIAN_DEMO_PACKAGE_DEPENDS
  "tkt00740 (= ${PROJECT_VERSION}), libqt6sql6-sqlite (>= 6.4), libqt6sql6-odbc (>= 6.4), unixodbc, qt6-qpa-plugins (>= 6.4)")

include(CPack)
