# Includes run only downward: a folder may include itself and the floors below it, never a
# floor above, and no two folders include each other. The core wing never includes a screen
# folder or a Qt header. Checked at configure time over the whole tree, so a wrong include
# fails the build the moment it is written; run on another tree with
#   cmake -DQ93_LAYER_ROOT=DIR -P cmake/IncludesRunDownward.cmake

cmake_policy(VERSION 3.25)

# The core wing, from the ground up. None of these folders' files may include Qt.
set(_q93_core_floors "base;serial;link;protocol;resources;store;fleet;history;watch")
set(_q93_may_include_base "base")
set(_q93_may_include_serial "serial;base")
set(_q93_may_include_link "link;serial;base")
set(_q93_may_include_protocol "protocol;link;serial;base")
# Dialog templates are data beside the string table.
set(_q93_may_include_resources "resources;base")
set(_q93_may_include_store "store;protocol;link;serial;resources;base")
set(_q93_may_include_fleet "fleet;${_q93_may_include_store}")
set(_q93_may_include_history "history;${_q93_may_include_store}")
set(_q93_may_include_watch "watch;${_q93_may_include_store}")

# The screen wing, from the ground up: each floor stands on the core and the screen floors
# below it.
set(_q93_screen_floors "screen/kit;screen/pages;screen/dialogs;screen/display;screen/window")
set(_q93_may_include_screen/kit "screen/kit;${_q93_core_floors}")
set(_q93_may_include_screen/pages "screen/pages;${_q93_may_include_screen/kit}")
set(_q93_may_include_screen/dialogs "screen/dialogs;${_q93_may_include_screen/pages}")
set(_q93_may_include_screen/display "screen/display;${_q93_may_include_screen/dialogs}")
set(_q93_may_include_screen/window "screen/window;${_q93_may_include_screen/display}")

# The front ends.
set(_q93_may_include_app "app;${_q93_screen_floors};${_q93_core_floors}")
set(_q93_may_include_cli "cli;${_q93_core_floors}")
set(_q93_may_include_sim "sim;${_q93_core_floors}")
set(_q93_may_include_bench "bench;tests;${_q93_screen_floors};${_q93_core_floors}")
set(_q93_may_include_fuzz "fuzz;sim;${_q93_core_floors}")

# The floor a path belongs to: its first folder, or its first two under screen/.
function(_q93_floor_of path out)
    if(path MATCHES "^(screen/[^/]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    elseif(path MATCHES "^([^/]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

function(q93_check_includes_run_downward root)
    set(_files "")
    foreach(_folder IN LISTS _q93_core_floors _q93_screen_floors ITEMS app cli sim bench fuzz)
        file(GLOB_RECURSE _in RELATIVE "${root}" "${root}/${_folder}/*.cpp" "${root}/${_folder}/*.h")
        list(APPEND _files ${_in})
    endforeach()
    set(_faults "")
    foreach(_file IN LISTS _files)
        _q93_floor_of("${_file}" _floor)
        if(_floor IN_LIST _q93_core_floors)
            file(STRINGS "${root}/${_file}" _qt REGEX "^[ \t]*#[ \t]*include[ \t]*<Q")
            if(_qt)
                string(APPEND _faults "\n  ${_file} includes Qt: ${_floor}/ is core")
            endif()
        endif()
        file(STRINGS "${root}/${_file}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(_line IN LISTS _lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" _inc "${_line}")
            _q93_floor_of("${_inc}" _target)
            if(_target STREQUAL "")
                continue()  # generated headers such as version.h
            endif()
            if(NOT _target IN_LIST _q93_may_include_${_floor})
                string(REPLACE ";" ", " _allowed "${_q93_may_include_${_floor}}")
                string(APPEND _faults
                    "\n  ${_file} includes \"${_inc}\": ${_floor}/ may include only ${_allowed}")
            endif()
        endforeach()
    endforeach()
    if(_faults)
        message(FATAL_ERROR "includes must run only downward:${_faults}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    q93_check_includes_run_downward("${Q93_LAYER_ROOT}")
else()
    q93_check_includes_run_downward("${CMAKE_SOURCE_DIR}")
endif()
