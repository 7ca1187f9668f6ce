# Runs pos_host against a module whose entry shows a small dialog (fake_entry.cpp) and checks what
# the host prints and returns. Arguments: HOST, BIN (the folder of the real libraries), FAKE, WORK.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB libraries ${BIN}/lib*.so*)
list(FILTER libraries EXCLUDE REGEX "/libtkt00740\\.so")
file(COPY ${HOST} ${libraries} DESTINATION ${WORK})
file(COPY_FILE ${FAKE} ${WORK}/libtkt00740.so)

# run_case(name exit_code stdout_regex stderr_regex args...)
function(run_case name expected_rc out_pattern err_pattern)
  if(NOT DEFINED platform)
    set(platform offscreen)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=${platform} ${WORK}/pos_host ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "${name}: exit code ${rc}, expected ${expected_rc}\nstdout: ${out}\nstderr: ${err}")
  endif()
  if(NOT out MATCHES "${out_pattern}")
    message(FATAL_ERROR "${name}: stdout does not match '${out_pattern}'\nstdout: ${out}\nstderr: ${err}")
  endif()
  if(NOT err MATCHES "${err_pattern}")
    message(FATAL_ERROR "${name}: stderr does not match '${err_pattern}'\nstderr: ${err}")
  endif()
  message(STATUS "${name}: ok")
endfunction()

# Inputs cross in Windows-1252 and come back as UTF-8; texts the module did not replace are the
# host's own.
run_case(confirmed 0
  "^result=True\nconsumidor=José12ç\ncliente=C77\nvendedor=Zé\nmesa=0042\\|A\\|SNS\n$" ""
  --comanda 0042 --mode A --permite-mesa N --consumidor José --cliente 77 --vendedor Zé
  --script "type:12ç click:btnConfirma")
run_case(positional 0 "result=False\nconsumidor=9\ncliente=\nvendedor=\nmesa=7\\|B\\|NNN\n" ""
  7 B N N N --script "9 click:btnSair")
run_case(defaults 0 "mesa=15\\|\\|SSS\n" "" --script "click:btnSair")

run_case(script_left_dialog_open 3 "result=False\nconsumidor=xy\n" "script ended with the dialog open"
  --script "x wait:20 y" --script-exit)
run_case(script_step_failed 5 "result=False" "script failed at step 2 \\(click:btnNope\\): no widget named btnNope in frmFake"
  --script "1 click:btnNope")
run_case(timeout 4 "result=False" "timed out after 0.5 s" --timeout 0.5)
run_case(timeout_stuck_module 4 "^$" "timed out after 0.5 s; the windows did not close" --timeout 0.5 --mode hang)

# Many dialogs in one process: a block per call, each from the host's own texts again.
run_case(repeat 0
  "^dialog=1\nresult=True\nconsumidor=x\ncliente=C77\nvendedor=\nmesa=15\\|\\|SSS\ndialog=2\nresult=True\nconsumidor=x\ncliente=C77\n"
  "" --repeat 2 --cliente 77 --script "x click:btnConfirma")
# A call that had to be ended ends the repetition, and its code is the process's.
run_case(repeat_stops_at_failure 3 "^dialog=1\nresult=False\nconsumidor=xy\n[^\n]*\n[^\n]*\n[^\n]*\n$"
  "stopped after dialog 1 of 3" --repeat 3 --script "x wait:20 y" --script-exit)
# The time guard is each call's: two calls of 0.35 s both finish under --timeout 0.5.
run_case(repeat_timeout_each_call 0 "dialog=2\nresult=False" "" --repeat 2 --timeout 0.5 --script "wait:350 click:btnSair")

set(marks ${WORK}/marks.txt)
run_case(marks 0 "dialog=2" "" --repeat 2 --marks ${marks} --script "mark:first x mark:second click:btnSair")
file(READ ${marks} written)
set(stamp "[0-9]+")
if(NOT written MATCHES "^${stamp} 1 open\n${stamp} 1 mark:first\n${stamp} 1 mark:second\n${stamp} 1 end\n${stamp} 2 open\n${stamp} 2 mark:first\n${stamp} 2 mark:second\n${stamp} 2 end\n$")
  message(FATAL_ERROR "marks: the file holds\n${written}")
endif()
string(REGEX MATCHALL "(^|\n)[0-9]+" stamps "${written}")
set(previous 0)
foreach(s ${stamps})
  string(STRIP "${s}" s)
  if(s LESS previous)
    message(FATAL_ERROR "marks: times go back in\n${written}")
  endif()
  set(previous ${s})
endforeach()
run_case(marks_appended 0 "" "" --marks ${marks} --script "click:btnSair")
file(STRINGS ${marks} lines)
list(LENGTH lines count)
if(NOT count EQUAL 10)
  message(FATAL_ERROR "marks: a second run must append; the file holds ${count} lines")
endif()

run_case(outside_code_page 2 "^$" "consumidor text .* outside Windows-1252" --consumidor "中")
run_case(unknown_option 2 "^$" "Unknown option 'bogus'" --bogus)
run_case(too_many 2 "^$" "Too many arguments" 1 2 3 4 5 6 7 8 9 10)
run_case(twice 2 "^$" "comanda is given both" 12 --comanda 13)
run_case(bad_script 2 "^$" "Bad script: step 1 \\(Hyper\\+X\\)" --script Hyper+X)
run_case(bad_timeout 2 "^$" "--timeout needs" --timeout -3)
run_case(bad_repeat 2 "^$" "--repeat needs a count from 1 to 10000" --repeat 0)
run_case(too_many_repeats 2 "^$" "--repeat needs" --repeat 10001)
run_case(unwritable_marks 2 "^$" "Cannot open the marks file" --marks ${WORK}/no/such/folder/marks.txt)
run_case(bad_mark 2 "^$" "Bad script: step 1 \\(mark:a\\.b\\)" --script "mark:a.b")

# Qt's VNC server listens on every interface; the host moves it to the loopback one.
set(platform "vnc:size=640x480:port=5967")
run_case(vnc_on_loopback 4 "result=False" "Connect a VNC viewer to 127\\.0\\.0\\.1:5967" --timeout 1)
