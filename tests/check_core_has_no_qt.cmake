# Fails when a core source file or header includes a Qt header.
# Core files are everything under src/ except the GUI folders (app, ui, widgets,
# pages), the session-bus folders (bus, daemon), the MQTT bridge (mqtt) and the
# gui/ subfolders of the
# mixed folders (room, smarthome, remote).
file(GLOB_RECURSE files "${ROOT}/*.h" "${ROOT}/*.cpp")
set(offenders "")
foreach(f ${files})
    file(RELATIVE_PATH rel "${ROOT}" "${f}")
    if(rel MATCHES "^(app|ui|widgets|pages|bus|daemon|mqtt)/" OR rel MATCHES "/gui/")
        continue()
    endif()
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt)")
    if(lines)
        list(APPEND offenders "${rel}")
    endif()
endforeach()
if(offenders)
    message(FATAL_ERROR "Qt headers included by core files: ${offenders}")
endif()
message(STATUS "core files checked: no Qt header")
