# Runs the built program as a user would: `awning --headless SCENARIO --output DIR` puts its snapshots in
# DIR, and arguments it cannot read end in its usage.
file(REMOVE_RECURSE "${WORK}")
file(WRITE "${WORK}/runs/bar.scenario" "0 screens 1440x900\n0 menubar 24\n1 snapshot bar.png\n")

execute_process(COMMAND "${AWNING}" --headless "${WORK}/runs/bar.scenario" --output "${WORK}/shots"
    RESULT_VARIABLE status OUTPUT_VARIABLE trace ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT trace MATCHES "\"event\":\"end\"")
    message(FATAL_ERROR "the run failed (${status}): ${errors}${trace}")
endif()
if(NOT EXISTS "${WORK}/shots/bar.png" OR EXISTS "${WORK}/runs/bar.png")
    message(FATAL_ERROR "the snapshot is not in the output folder alone")
endif()

foreach(arguments "--headless" "--headless;${WORK}/runs/bar.scenario;--output")
    execute_process(COMMAND "${AWNING}" ${arguments} RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 2 OR NOT errors MATCHES "usage: awning")
        message(FATAL_ERROR "awning ${arguments}: status ${status}, ${errors}")
    endif()
endforeach()
