# The installed package at work: installs the build into a fresh prefix, makes it read-only,
# runs the checker, a solver and the launcher from there, and fails when any of them wrote
# into the prefix.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DLAUNCHER_TEST=... -P install_check.cmake
set(prefix ${SCRATCH}/prefix)
set(programs ${prefix}/lib/vorm)
set(shared ${prefix}/share/vorm)

function(run what)
    cmake_parse_arguments(ARG "" "DIRECTORY;EXPECT" "COMMAND;ENV" ${ARGN})
    if(NOT ARG_DIRECTORY)
        set(ARG_DIRECTORY ${SCRATCH})
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${ARG_ENV}
                            ${ARG_COMMAND}
                    WORKING_DIRECTORY ${ARG_DIRECTORY}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${what}: exit status ${status}\n${out}\n${err}")
    endif()
    if(ARG_EXPECT AND NOT out MATCHES "${ARG_EXPECT}")
        message(FATAL_ERROR "${what}: no \"${ARG_EXPECT}\" in its output:\n${out}")
    endif()
endfunction()

# Every file of the prefix with its size and time, to see afterwards that none changed.
function(listing variable)
    execute_process(COMMAND find ${prefix} -printf "%p %s %T@ %m\n"
                    OUTPUT_VARIABLE lines RESULT_VARIABLE status)
    string(REPLACE "\n" ";" lines "${lines}")
    list(SORT lines)
    set(${variable} "${lines}" PARENT_SCOPE)
endfunction()

if(EXISTS ${SCRATCH})
    execute_process(COMMAND chmod -R u+w ${SCRATCH})
    file(REMOVE_RECURSE ${SCRATCH})
endif()
file(MAKE_DIRECTORY ${SCRATCH}/work ${SCRATCH}/data ${SCRATCH}/user ${SCRATCH}/cache)
run("install" COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(file bin/vorm bin/quarvel bin/quarvel-report bin/tolvik lib/vorm/Vorm lib/vorm/Tolvik
        lib/vorm/PKUNZIP lib/vorm/libDialog.so lib/vorm/Yornik/Gralt share/vorm/Tablesw.dat
        share/vorm/StdProf.dat share/vorm/VORMEW.ZIP share/vorm/portal.d05
        share/applications/vorm.desktop share/mime/packages/vorm.xml
        share/icons/hicolor/scalable/apps/vorm.svg share/icons/hicolor/48x48/apps/vorm.png)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

execute_process(COMMAND chmod -R a-w ${prefix})
listing(before)

# Every installed program answers --help (its usage, options and exit codes) and --version,
# without a display and before it touches any file.
file(GLOB installed RELATIVE ${programs} ${programs}/* ${programs}/Yornik/*)
list(FILTER installed EXCLUDE REGEX "\\.so|^Yornik$")
list(LENGTH installed count)
if(count LESS 30)
    message(FATAL_ERROR "too few programs installed: ${installed}")
endif()
foreach(program IN LISTS installed)
    run("${program} --help" COMMAND ${programs}/${program} --help EXPECT "Usage: .*Exit status:")
    get_filename_component(name ${program} NAME)
    run("${program} --version" COMMAND ${programs}/${program} --version EXPECT "^${name} [0-9]")
endforeach()
run("tolvik --help" COMMAND ${prefix}/bin/tolvik --help EXPECT "Exit status:")
# The checker and a solver from the command line, in a working directory of the user's.
file(COPY_FILE ${shared}/portal.d05 ${SCRATCH}/data/p.d55)
file(COPY_FILE ${shared}/portal.d05 ${SCRATCH}/data/p.d05)
run("checker" COMMAND ${prefix}/bin/tolvik ${SCRATCH}/data/p.d55 DIRECTORY ${SCRATCH}/work
    EXPECT "^OK")
if(NOT EXISTS ${SCRATCH}/work/Error.txt)
    message(FATAL_ERROR "the checker left no Error.txt in its working directory")
endif()
run("solver" COMMAND ${programs}/Pelgon ${SCRATCH}/data/p.d05 DIRECTORY ${SCRATCH}/work)
if(NOT EXISTS ${SCRATCH}/data/p.bin OR NOT EXISTS ${SCRATCH}/work/PROT.TXT)
    message(FATAL_ERROR "the solver wrote no result file beside the data or no protocol")
endif()
# The launcher, offscreen, with two windows running programs at once.
run("launcher" COMMAND ${LAUNCHER_TEST}
    ENV QV_INSTALLED_PROGRAMS=${programs} XDG_DATA_HOME=${SCRATCH}/user
        XDG_CACHE_HOME=${SCRATCH}/cache XDG_RUNTIME_DIR=
    DIRECTORY ${SCRATCH}/work EXPECT " 0 failed, 0 skipped")

listing(after)
if(NOT before STREQUAL after)
    message(FATAL_ERROR "the installed package changed:\nbefore: ${before}\nafter: ${after}")
endif()
file(GLOB left ${SCRATCH}/cache/VORM-runs/*)
if(left)
    message(FATAL_ERROR "run folders were left behind: ${left}")
endif()
execute_process(COMMAND chmod -R u+w ${SCRATCH})
file(REMOVE_RECURSE ${SCRATCH})
