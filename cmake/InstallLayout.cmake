# The installed tree, the same under any prefix and in the Debian packages:
#
#   bin/                      pos_host, make_demo, tkt_latency_proxy, ...
#   lib/                      libtkt00740.so*, libtkt_contracts.so, the host library stand-ins
#   lib/cmake/tkt00740/       find_package(tkt00740)
#   lib/pkgconfig/            tkt00740.pc
#   include/tkt00740/         tkt00740.h
#   share/doc/tkt00740/       README and the documents
#
# The library folder is "lib" everywhere rather than GNUInstallDirs' multiarch folder: the demo host
# finds the module and its siblings in ../lib beside its own folder, and a host installation is one
# self-contained tree, not a part of the distribution's library path.
set(TKT_INSTALL_BINDIR bin)
set(TKT_INSTALL_LIBDIR lib)
set(TKT_INSTALL_INCLUDEDIR include/tkt00740)
set(TKT_INSTALL_CMAKEDIR ${TKT_INSTALL_LIBDIR}/cmake/tkt00740)
set(TKT_INSTALL_PKGCONFIGDIR ${TKT_INSTALL_LIBDIR}/pkgconfig)
set(TKT_INSTALL_DOCDIR share/doc/tkt00740)

# Relative to the binary itself, so the tree works wherever it is unpacked. For a library in lib/,
# $ORIGIN/../lib is its own folder.
set(CMAKE_INSTALL_RPATH "\$ORIGIN/../${TKT_INSTALL_LIBDIR}")

# Install components, one per Debian package: the module for integrators, and the demo (host
# library stand-ins, demo host, tools).
set(TKT_COMPONENT_MODULE module)
set(TKT_COMPONENT_DEMO demo)
