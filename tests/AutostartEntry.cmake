# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build under a prefix with a space in it, marks a module to start at login with the
# installed `pellimo`, and runs the login entry it writes with Debian's autostart runner, dex, on
# a private desktop: the module must then be running. Skipped where dex or a desktop is missing.
foreach(tool dex dbus-run-session xvfb-run openbox)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message("SKIPPED: ${tool} is not installed")
    return()
  endif()
endforeach()

file(REMOVE_RECURSE ${ROOT})
# dex reads '\', '$', '`', '"' and '%' inside quotes otherwise than freedesktop.org's desktop
# entry format says (the unit test checks their quoting); a space and the shell's other reserved
# characters it reads right.
set(prefix "${ROOT}/pre fix's (1)/usr")
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix "${prefix}"
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
set(home ${ROOT}/home)
file(MAKE_DIRECTORY ${home}/runtime)
file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{HOME} ${home})
set(ENV{XDG_CONFIG_HOME} ${home}/config)
set(ENV{XDG_DATA_HOME} ${home}/data)
set(ENV{XDG_STATE_HOME} ${home}/state)
set(ENV{XDG_CACHE_HOME} ${home}/cache)
set(ENV{XDG_RUNTIME_DIR} ${home}/runtime)
# The entry must not depend on PATH to find `pellimo`.
set(ENV{PATH} /usr/bin:/bin)
set(entry ${home}/config/autostart/org.pellimo.Pellimo.desktop)
execute_process(
  COMMAND ${SOURCE}/scripts/with-desktop sh -ec [[
    "$0" new clock
    "$0" autostart on clock
    dex --wait "$1"
    "$0" status clock
    "$0" send kill clock
  ]] "${prefix}/bin/pellimo" ${entry}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the login entry did not start the marked module:\n${output}")
endif()
if(NOT output MATCHES "launched org\\.pellimo\\.module\\.clock\\.")
  message(FATAL_ERROR "the login entry launched nothing:\n${output}")
endif()
find_program(desktopValidate desktop-file-validate)
if(desktopValidate)
  execute_process(COMMAND ${desktopValidate} ${entry} COMMAND_ERROR_IS_FATAL ANY)
endif()
