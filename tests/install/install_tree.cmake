# Installs the build into WORK/prefix, moves the tree to WORK/moved (an installation must not depend
# on where it was installed first), then uses it from outside the build. Arguments: BUILD_DIR, WORK,
# CONSUMER, VERSION, VERSION_MAJOR, GENERATOR, C_COMPILER, PKG_CONFIG, READELF.

function(run name)
  cmake_parse_arguments(R "" "EXPECT_RC;WORKING_DIRECTORY;OUT_MATCHES" "COMMAND;ENV" ${ARGN})
  if(NOT DEFINED R_EXPECT_RC)
    set(R_EXPECT_RC 0)
  endif()
  if(NOT R_WORKING_DIRECTORY)
    set(R_WORKING_DIRECTORY ${WORK})
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${R_ENV} ${R_COMMAND}
    WORKING_DIRECTORY ${R_WORKING_DIRECTORY}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT rc STREQUAL R_EXPECT_RC)
    message(FATAL_ERROR "${name}: exit code ${rc}, expected ${R_EXPECT_RC}\ncommand: ${R_COMMAND}\nstdout: ${out}\nstderr: ${err}")
  endif()
  if(DEFINED R_OUT_MATCHES AND NOT out MATCHES "${R_OUT_MATCHES}")
    message(FATAL_ERROR "${name}: output does not match '${R_OUT_MATCHES}'\nstdout: ${out}\nstderr: ${err}")
  endif()
  message(STATUS "${name}: ok")
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/elsewhere)
set(first ${WORK}/prefix)
set(P ${WORK}/moved)

run(install COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${first})
file(RENAME ${first} ${P})

set(expected
  include/tkt00740/tkt00740.h
  lib/libtkt00740.so lib/libtkt00740.so.${VERSION_MAJOR} lib/libtkt00740.so.${VERSION}
  lib/libtkt_contracts.so lib/libshared_services.so lib/libPkg_Aux00090.so
  lib/cmake/tkt00740/tkt00740Config.cmake lib/cmake/tkt00740/tkt00740ConfigVersion.cmake
  lib/cmake/tkt00740/tkt00740Targets.cmake
  lib/pkgconfig/tkt00740.pc
  bin/pos_host bin/make_demo bin/tkt_latency_proxy bin/cdstool
  share/doc/tkt00740/README.md share/doc/tkt00740/docs/integration-guide.md
  share/doc/tkt00740/docs/data-packet.md
  share/doc/tkt00740/examples/c_host/c_host.c share/doc/tkt00740/examples/python_host/python_host.py)
foreach(f ${expected})
  if(NOT EXISTS ${P}/${f})
    message(FATAL_ERROR "the installed tree lacks ${f}")
  endif()
endforeach()

# The module's soname carries the major version, and no installed binary looks into the build tree.
if(READELF)
  run(soname COMMAND ${READELF} -d ${P}/lib/libtkt00740.so.${VERSION}
    OUT_MATCHES "SONAME\\)[^\n]*\\[libtkt00740\\.so\\.${VERSION_MAJOR}\\]")
  foreach(binary bin/pos_host bin/make_demo lib/libtkt00740.so.${VERSION} lib/libshared_services.so lib/libPkg_Aux00090.so)
    run(runpath_${binary} COMMAND ${READELF} -d ${P}/${binary})
    if(last_output MATCHES "${BUILD_DIR}")
      message(FATAL_ERROR "${binary} still searches the build tree:\n${last_output}")
    endif()
    if(NOT last_output MATCHES "R(UN)?PATH\\)[^\n]*\\[\\$ORIGIN/\\.\\./lib\\]")
      message(FATAL_ERROR "${binary} does not search \$ORIGIN/../lib:\n${last_output}")
    endif()
  endforeach()
endif()

# The demo host from another folder: its help, then a real dialog on a demo store made by the
# installed make_demo, which needs the module, both stand-ins and Qt's SQLite and platform plugins.
run(pos_host_help COMMAND ${P}/bin/pos_host --help WORKING_DIRECTORY ${WORK}/elsewhere OUT_MATCHES "Exit codes")
# The demo's layout: the store beside the host program, where the shared services stand-in looks.
set(store ${P}/bin)
run(make_demo COMMAND ${P}/bin/make_demo ${store} WORKING_DIRECTORY ${WORK}/elsewhere)
run(pos_host_dialog COMMAND ${P}/bin/pos_host --script "wait:200 click:lblSair" ENV QT_QPA_PLATFORM=offscreen
  WORKING_DIRECTORY ${WORK}/elsewhere OUT_MATCHES "result=False\nconsumidor=")

# find_package(tkt00740 MAJOR.MINOR): an integrator's CMake project.
string(REGEX MATCH "^[0-9]+\\.[0-9]+" asked ${VERSION})
run(find_package_configure COMMAND ${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/consumer-build -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${P} -DCMAKE_C_COMPILER=${C_COMPILER} -DTKT_ASK_VERSION=${asked})
run(find_package_build COMMAND ${CMAKE_COMMAND} --build ${WORK}/consumer-build)
run(find_package_run COMMAND ${WORK}/consumer-build/linked_host ${VERSION} ${store}/demo.db
  WORKING_DIRECTORY ${WORK}/elsewhere OUT_MATCHES "table 0003: Mesa 3 - Varanda")
# A later major version is a different ABI: find_package must refuse it.
math(EXPR next_major "${VERSION_MAJOR} + 1")
run(find_package_other_major EXPECT_RC 1 COMMAND ${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/consumer-next -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${P} -DCMAKE_C_COMPILER=${C_COMPILER} -DTKT_ASK_VERSION=${next_major}.0)

# pkg-config, with the .pc file found through PKG_CONFIG_PATH only.
if(NOT PKG_CONFIG)
  message(FATAL_ERROR "pkg-config is not installed; it is needed to check tkt00740.pc")
endif()
set(pc_env PKG_CONFIG_PATH=${P}/lib/pkgconfig PKG_CONFIG_LIBDIR=${P}/lib/pkgconfig)
run(pkg_config_version COMMAND ${PKG_CONFIG} --modversion tkt00740 ENV ${pc_env} OUT_MATCHES "^${VERSION}\n")
run(pkg_config_flags COMMAND ${PKG_CONFIG} --cflags --libs tkt00740 ENV ${pc_env})
string(STRIP "${last_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(pkg_config_compile COMMAND ${C_COMPILER} -std=c11 ${CONSUMER}/linked_host.c ${flags} -o ${WORK}/pc_host)
run(pkg_config_run COMMAND ${WORK}/pc_host ${VERSION} ${store}/demo.db ENV LD_LIBRARY_PATH=${P}/lib
  WORKING_DIRECTORY ${WORK}/elsewhere OUT_MATCHES "table 0003: Mesa 3 - Varanda")
