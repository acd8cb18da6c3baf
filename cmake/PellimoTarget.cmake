# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are errors on our own targets only, never on the libraries we link.
function(pellimo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Code that runs once per event rather than once per byte is optimised for size in optimised
# builds: an idle widget keeps every page of its program resident, and the translator, which
# runs once per byte, keeps the build's own optimisation.
function(pellimo_optimise_for_size target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-Os>)
endfunction()

# A GoogleTest binary registered with CTest. MAIN (core, widgets or desktop) gives it the shared
# main of that kind, see tests/support; without it the binary brings its own (gtest_main).
# LABEL lets presets pick the core tests;
# SESSION_BUS runs the binary (discovery included) inside a private D-Bus session of its own;
# DESKTOP runs it on a private desktop: D-Bus session, Xvfb and openbox.
function(pellimo_test target)
  cmake_parse_arguments(ARG "SESSION_BUS;DESKTOP" "LABEL;MAIN" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  pellimo_warnings(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  if(ARG_MAIN)
    target_link_libraries(${target} PRIVATE pellimo_test_main_${ARG_MAIN})
  endif()
  if(ARG_SESSION_BUS)
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "dbus-run-session;--")
  elseif(ARG_DESKTOP)
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
                          "${PROJECT_SOURCE_DIR}/scripts/with-desktop")
  endif()
  gtest_discover_tests(${target} PROPERTIES LABELS "${ARG_LABEL}" DISCOVERY_TIMEOUT 60)
endfunction()
