# Runs pos_host from folders that lack what it loads and checks that it stops with exit code 1 and
# names what is missing. Arguments: HOST (pos_host), BIN (the folder of the real libraries), FAKE
# (a module without the entry), WORK (a scratch folder).
function(run_case name expected_pattern)
  set(dir ${WORK}/${name})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${dir}/pos_host
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 1)
    message(FATAL_ERROR "${name}: exit code ${rc}, expected 1\nstdout: ${out}\nstderr: ${err}")
  endif()
  if(NOT err MATCHES "${expected_pattern}")
    message(FATAL_ERROR "${name}: the message does not match '${expected_pattern}'\nstderr: ${err}")
  endif()
  if(out MATCHES "result=")
    message(FATAL_ERROR "${name}: a result was printed although nothing could be called\n${out}")
  endif()
  message(STATUS "${name}: ${err}")
endfunction()

file(REMOVE_RECURSE ${WORK})
file(GLOB libraries ${BIN}/lib*.so*)
list(FILTER libraries EXCLUDE REGEX "/libtkt00740\\.so")

# The host alone, with only the library it links: the shared services library is the first missing.
file(MAKE_DIRECTORY ${WORK}/alone)
file(COPY ${HOST} ${BIN}/libtkt_contracts.so DESTINATION ${WORK}/alone)
run_case(alone "shared services library: .*libshared_services\\.so is missing")

# Every library but the module.
file(MAKE_DIRECTORY ${WORK}/no_module)
file(COPY ${HOST} ${libraries} DESTINATION ${WORK}/no_module)
run_case(no_module "comanda module: .*libtkt00740\\.so is missing")

# A module without the entry.
file(MAKE_DIRECTORY ${WORK}/no_entry)
file(COPY ${HOST} ${libraries} DESTINATION ${WORK}/no_entry)
file(COPY_FILE ${FAKE} ${WORK}/no_entry/libtkt00740.so)
run_case(no_entry "libtkt00740\\.so does not export CriaConfComanda")
