# SPDX-License-Identifier: GPL-3.0-or-later
# A command line the benchmarks do not understand is refused with the usage and
# status 2, before anything is built or run.
#
# cmake -DCLICK=... -DSTARTUP=... -DBENCH_SCRIPT=... -P usage.cmake

function(expect_usage)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
                    ERROR_VARIABLE err TIMEOUT 30)
    list(JOIN ARGN " " command)
    if(NOT result EQUAL 2 OR NOT err MATCHES "usage: ")
        message(FATAL_ERROR "`${command}`: status ${result}, stderr: ${err}")
    endif()
    message(STATUS "refused: ${command}")
endfunction()

expect_usage(${CLICK} --bogus 1)
expect_usage(${CLICK} --drills 1 --warmup)
expect_usage(${CLICK} --drills 0)
expect_usage(${STARTUP} --program a --program-title b --baseline c --baseline-title d
             --runs 2x)
expect_usage(${STARTUP} --program a --program-title b --baseline c)
expect_usage(${BENCH_SCRIPT} --runs)
expect_usage(${BENCH_SCRIPT} --drills 2 --runs)
expect_usage(${BENCH_SCRIPT} --runs many)
expect_usage(${BENCH_SCRIPT} --bogus 3)
