# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as scripts/package does and checks what Debian asks of it: the
# dependencies worked out from the binaries, the copyright file and changelog in place of the
# licence, and, where lintian is installed, no error from it.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND cpack --config ${BUILD}/CPackConfig.cmake -B ${SCRATCH}
                OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB deb ${SCRATCH}/pellimo_*.deb)

execute_process(COMMAND dpkg-deb --field ${deb} Version Depends
                OUTPUT_VARIABLE control COMMAND_ERROR_IS_FATAL ANY)
foreach(expected "Version: ${VERSION}-" "libqt6widgets6 (>=" "libqscintilla2-qt6-" "qt6-qpa-plugins" "libqt6svg6")
  string(FIND "${control}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package's control fields lack \"${expected}\":\n${control}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
foreach(file copyright changelog.Debian.gz)
  if(NOT contents MATCHES "/usr/share/doc/pellimo/${file}\n")
    message(FATAL_ERROR "the package lacks /usr/share/doc/pellimo/${file}")
  endif()
endforeach()
if(contents MATCHES "/usr/share/doc/pellimo/LICENSE")
  message(FATAL_ERROR "the package holds the licence beside its copyright file")
endif()

find_program(lintian lintian)
if(lintian)
  execute_process(COMMAND ${lintian} --fail-on error ${deb} COMMAND_ERROR_IS_FATAL ANY)
endif()
