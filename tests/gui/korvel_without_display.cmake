# Runs korvel with no display at all (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM): --help and
# --version print on standard output and exit 0, a usage error exits 2 with a message on standard
# error. None of them may need the windowing system. Call with -DKORVEL=<path of korvel>.
function(expect_run args status output_pattern error_pattern)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${KORVEL} ${args}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT result STREQUAL status)
    message(FATAL_ERROR "korvel ${args}: exit ${result}, expected ${status}\n${out}\n${err}")
  endif()
  if(NOT out MATCHES "${output_pattern}")
    message(FATAL_ERROR "korvel ${args}: standard output does not match '${output_pattern}':\n${out}")
  endif()
  if(NOT err MATCHES "${error_pattern}")
    message(FATAL_ERROR "korvel ${args}: standard error does not match '${error_pattern}':\n${err}")
  endif()
endfunction()

expect_run("--help" 0 "Usage: korvel .*--latency-ms N.*--documents DIR.*--version.*/Kill" "^$")
expect_run("-h" 0 "Usage: korvel" "^$")
expect_run("/Start;--help" 0 "Usage: korvel" "^$")
expect_run("--version" 0 "^korvel [0-9]+\\.[0-9]+\\.[0-9]+\n$" "^$")
expect_run("--latency-ms;fast" 2 "^$" "^korvel: .*'fast'")
expect_run("--documents=" 2 "^$" "^korvel: --documents")
expect_run("--bogus" 2 "^$" "^korvel: .*not expected: --bogus")
