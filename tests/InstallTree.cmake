# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch root as a package would, under a folder whose name needs
# quoting, then checks what landed there, runs the desktop's own validators on it where they
# exist, and starts a module through the login entry the installed `pellimo` writes.
file(REMOVE_RECURSE ${ROOT})
# dex reads '\', '$', '`', '"' and '%' inside quotes otherwise than the desktop entry format says
# (the host test checks their quoting); a space and the shell's other reserved characters it
# reads right.
set(tree "${ROOT}/pre fix's (1)")
set(ENV{DESTDIR} ${tree})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
unset(ENV{DESTDIR})
foreach(file
    usr/bin/pellimo
    usr/bin/pellimo-ansi
    usr/libexec/pellimo/pellimo-widget
    usr/libexec/pellimo/pellimo-tray
    usr/libexec/pellimo/pellimo-editor.so
    usr/share/applications/org.pellimo.Pellimo.desktop
    usr/share/metainfo/org.pellimo.Pellimo.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/org.pellimo.Pellimo.svg
    usr/share/doc/pellimo/LICENSE
    usr/share/man/man1/pellimo.1.gz
    usr/share/man/man1/pellimo-widget.1.gz
    usr/share/man/man1/pellimo-ansi.1.gz
    usr/share/bash-completion/completions/pellimo
    usr/share/zsh/vendor-completions/_pellimo
    usr/share/fish/vendor_completions.d/pellimo.fish)
  if(NOT EXISTS "${tree}/${file}")
    message(FATAL_ERROR "the install tree lacks ${file}")
  endif()
endforeach()

# The installed command runs the tray installed beside the widget, which, given no display, says
# so itself.
execute_process(
  COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${tree}/usr/bin/pellimo" tray
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 1 OR NOT output MATCHES "no display for the tray")
  message(FATAL_ERROR "the installed `pellimo tray` did not run the installed tray:\n${output}")
endif()

find_program(man man)
if(man)
  set(ENV{MAN_KEEP_STDERR} 1)
  foreach(program pellimo pellimo-widget pellimo-ansi)
    execute_process(COMMAND ${man} --warnings -E UTF-8 -l -Tutf8 -Z
                            "${tree}/usr/share/man/man1/${program}.1.gz"
                    OUTPUT_QUIET ERROR_VARIABLE warnings COMMAND_ERROR_IS_FATAL ANY)
    if(warnings)
      message(FATAL_ERROR "the man page of ${program} renders with warnings:\n${warnings}")
    endif()
  endforeach()
endif()

# The installed command finds the widget module where the install put it, not on PATH, and the
# login entry it writes starts the marked module through Debian's autostart runner, dex, on a
# private desktop, where the module's editor opens from the module installed beside it; without
# a desktop, the command only launches and stops the built-in module.
set(home ${ROOT}/home)
file(MAKE_DIRECTORY ${home}/runtime)
file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{HOME} ${home})
foreach(folder CONFIG DATA STATE CACHE)
  string(TOLOWER ${folder} name)
  set(ENV{XDG_${folder}_HOME} ${home}/${name})
endforeach()
set(ENV{XDG_RUNTIME_DIR} ${home}/runtime)
set(ENV{PATH} /usr/bin:/bin)
set(entry ${home}/config/autostart/org.pellimo.Pellimo.desktop)
foreach(tool dex dbus-run-session Xvfb openbox desktop-file-validate)
  find_program(found_${tool} ${tool})
endforeach()
if(found_dex AND found_Xvfb AND found_openbox AND found_dbus-run-session)
  execute_process(
    COMMAND ${SOURCE}/scripts/with-desktop sh -ec [[
      "$0" new clock
      "$0" autostart on clock
      dex --wait "$1"
      "$0" status clock
      if command -v xdotool >/dev/null; then
        "$0" send config clock
        if timeout 60 xdotool search --sync --onlyvisible --name '^Pellimo editor$' >/dev/null; then
          echo "the editor showed"
        fi
      fi
      "$0" send kill clock
    ]] "${tree}/usr/bin/pellimo" ${entry}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT output MATCHES "launched org\\.pellimo\\.module\\.clock\\.")
    message(FATAL_ERROR "the login entry did not start the marked module:\n${output}")
  endif()
  find_program(found_xdotool xdotool)
  if(found_xdotool AND NOT output MATCHES "the editor showed")
    message(FATAL_ERROR "the installed module's editor did not open:\n${output}")
  endif()
  if(found_desktop-file-validate)
    execute_process(COMMAND ${found_desktop-file-validate} ${entry} COMMAND_ERROR_IS_FATAL ANY)
  endif()
elseif(found_dbus-run-session)
  set(ENV{QT_QPA_PLATFORM} offscreen)
  execute_process(COMMAND ${found_dbus-run-session} -- sh -c "\"$0\" launch && \"$0\" send kill"
                          "${tree}/usr/bin/pellimo"
                  OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()

if(found_desktop-file-validate)
  execute_process(COMMAND ${found_desktop-file-validate}
                  "${tree}/usr/share/applications/org.pellimo.Pellimo.desktop"
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
  execute_process(COMMAND ${appstreamcli} validate --no-net
                  "${tree}/usr/share/metainfo/org.pellimo.Pellimo.metainfo.xml"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
