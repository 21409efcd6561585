# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark once, briefly, so that a crash or a hang in one shows
# up in the test suite. Timings are printed but never judged here.
#
# cmake -DDESKTOP=testdesktop.py -DFACTS=drill_facts -DSTARTUP=... -DPROGRAM=... -DBASELINE=...
#       -DCLICK=... -DCORE=... -P smoke.cmake

# The window to time is found by its title, as the program's facts give it.
execute_process(COMMAND ${FACTS} OUTPUT_VARIABLE facts RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FACTS} failed: ${result}")
endif()
string(JSON title GET "${facts}" design main caption)

function(run_step name)
    message(STATUS "--- ${name}")
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result TIMEOUT 120)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${name} failed: ${result}")
    endif()
endfunction()

run_step("start-up and memory" /usr/bin/python3 ${DESKTOP} -- ${STARTUP}
    --program ${PROGRAM} --program-title ${title}
    --baseline ${BASELINE} --baseline-title "Baseline window"
    --runs 2 --warmup 0 --settle-ms 50)
run_step("click latency" ${CLICK} --drills 1 --warmup 0 --timeout-s 60)
run_step("core" ${CORE} --benchmark_min_time=0.001)
