# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch root as a package would, then checks what landed there and
# runs the desktop's own validators on it where they exist.
file(REMOVE_RECURSE ${ROOT})
set(ENV{DESTDIR} ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
foreach(file
    usr/bin/pellimo
    usr/bin/pellimo-ansi
    usr/libexec/pellimo/pellimo-widget
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
  if(NOT EXISTS ${ROOT}/${file})
    message(FATAL_ERROR "the install tree lacks ${file}")
  endif()
endforeach()

find_program(man man)
if(man)
  set(ENV{MAN_KEEP_STDERR} 1)
  foreach(program pellimo pellimo-widget pellimo-ansi)
    execute_process(COMMAND ${man} --warnings -E UTF-8 -l -Tutf8 -Z
                            ${ROOT}/usr/share/man/man1/${program}.1.gz
                    OUTPUT_QUIET ERROR_VARIABLE warnings COMMAND_ERROR_IS_FATAL ANY)
    if(warnings)
      message(FATAL_ERROR "the man page of ${program} renders with warnings:\n${warnings}")
    endif()
  endforeach()
endif()

# The installed command finds the widget module where the install put it, not on PATH.
find_program(dbusRunSession dbus-run-session)
if(dbusRunSession)
  set(home ${ROOT}/home)
  file(MAKE_DIRECTORY ${home}/runtime)
  file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  foreach(variable HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME)
    set(ENV{${variable}} ${home})
  endforeach()
  set(ENV{XDG_RUNTIME_DIR} ${home}/runtime)
  set(ENV{QT_QPA_PLATFORM} offscreen)
  set(ENV{PATH} /usr/bin:/bin)
  execute_process(COMMAND ${dbusRunSession} -- sh -c "\"$0\" launch && \"$0\" send kill"
                          ${ROOT}/usr/bin/pellimo
                  OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()

find_program(desktopValidate desktop-file-validate)
if(desktopValidate)
  execute_process(COMMAND ${desktopValidate}
                  ${ROOT}/usr/share/applications/org.pellimo.Pellimo.desktop
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
  execute_process(COMMAND ${appstreamcli} validate --no-net
                  ${ROOT}/usr/share/metainfo/org.pellimo.Pellimo.metainfo.xml
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
