# Runs the built program as a user would: its help, options it does not know, and the requests that find
# no Awning running, no bundle, or a scenario that is no file. Every run has a private runtime, cache and
# temporary folder, so that no Awning of the machine's answers.
file(REMOVE_RECURSE "${WORK}")
foreach(folder runtime cache tmp lonely/bin)
    file(MAKE_DIRECTORY "${WORK}/${folder}")
endforeach()
file(CHMOD "${WORK}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(private ${CMAKE_COMMAND} -E env "XDG_RUNTIME_DIR=${WORK}/runtime" "XDG_CACHE_HOME=${WORK}/cache"
    "TMPDIR=${WORK}/tmp" --unset=AWNING_BUNDLE_DIR)

# check(STATUS STDOUT_REGEX STDERR_REGEX ARGUMENTS...): runs awning with ARGUMENTS; an empty regex wants no
# output at all.
function(check status out err)
    execute_process(COMMAND ${private} ${ARGN} RESULT_VARIABLE got_status OUTPUT_VARIABLE got_out
        ERROR_VARIABLE got_err TIMEOUT 30)
    set(what "awning ${ARGN}: status ${got_status}\n--- stdout:\n${got_out}--- stderr:\n${got_err}")
    if(NOT got_status STREQUAL status)
        message(FATAL_ERROR "expected status ${status}; ${what}")
    endif()
    foreach(stream out err)
        if(${stream} STREQUAL "")
            if(NOT got_${stream} STREQUAL "")
                message(FATAL_ERROR "expected nothing on std${stream}; ${what}")
            endif()
        elseif(NOT got_${stream} MATCHES "${${stream}}")
            message(FATAL_ERROR "std${stream} does not match \"${${stream}}\"; ${what}")
        endif()
    endforeach()
    set(last_out "${got_out}" PARENT_SCOPE)
endfunction()

foreach(help --help -h)
    check(0 "^Usage: awning \\[OPTION\\]\n" "" "${AWNING}" ${help})
    foreach(option "-h, --help" "--version" "--about" "--status" "--relaunch" "--headless SCENARIO \\[--output DIR\\]")
        if(NOT last_out MATCHES "\n  [ -h,]*${option}\n? +[a-z]")
            message(FATAL_ERROR "awning ${help} does not explain ${option}:\n${last_out}")
        endif()
    endforeach()
endforeach()

set(try "\nTry 'awning --help' for more information.\n$")
check(2 "" "^awning: unknown option '--frob'${try}" "${AWNING}" --frob)
check(2 "" "^awning: unexpected argument 'now'${try}" "${AWNING}" --status now)
check(2 "" "^awning: usage: awning --headless SCENARIO \\[--output DIR\\]${try}" "${AWNING}" --headless)

check(1 "" "^Awning is not running: there is none to relaunch.\n$" "${AWNING}" --relaunch)
check(1 "" "^Awning is not running.\n$" "${AWNING}" --status)

check(0 "^Awning [0-9.]+\n$" "" "${AWNING}" --version)
# A copy of the executable without its bundle says where it looked, unless an installed bundle answers.
file(CREATE_LINK "${AWNING}" "${WORK}/lonely/bin/awning" COPY_ON_ERROR)
if(EXISTS "${INSTALLED}/Info.plist")
    message(STATUS "an installed bundle in ${INSTALLED}: the copied executable finds it")
else()
    check(1 "" "^awning: cannot tell the version: no Info.plist in ${WORK}/lonely/bin/resources, ${WORK}/lonely/share/awning or ${INSTALLED}\n$"
        "${WORK}/lonely/bin/awning" --version)
endif()

# A FIFO without a writer is refused at once instead of holding the run.
execute_process(COMMAND mkfifo "${WORK}/fifo.scenario")
check(2 "" "^awning: ${WORK}/fifo.scenario is not a regular file\n$" "${AWNING}" --headless "${WORK}/fifo.scenario")
