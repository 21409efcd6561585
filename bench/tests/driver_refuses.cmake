# SPDX-License-Identifier: GPL-3.0-or-later
# The start-up driver must fail, not report a time, when there is no first
# frame to time: a program that exits at once, a window that is never drawn,
# a window with another title.
#
# cmake -DDESKTOP=testdesktop.py -DSTARTUP=... -DBASELINE=... -DUNPAINTED=... -DEXITS=... -P driver_refuses.cmake

function(expect_failure name expected)
    execute_process(COMMAND /usr/bin/python3 ${DESKTOP} -- ${STARTUP} ${ARGN}
        --baseline ${BASELINE} --baseline-title "Baseline window"
        --runs 1 --warmup 0 --settle-ms 0 --timeout-ms 1500
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    if(result EQUAL 0)
        message(FATAL_ERROR "${name}: the driver reported success:\n${out}")
    endif()
    string(FIND "${err}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${name}: expected '${expected}', got:\n${err}")
    endif()
    message(STATUS "${name}: refused as expected")
endfunction()

expect_failure("exits at once" "exited before mapping its window"
    --program ${EXITS} --program-title "Anything")
expect_failure("never drawn" "was not painted within the time limit"
    --program ${UNPAINTED} --program-title "Unpainted window")
expect_failure("other title" "no window titled 'Baseline window, not this'"
    --program ${BASELINE} --program-title "Baseline window, not this")
