# SPDX-License-Identifier: GPL-3.0-or-later
# Man pages made by help2man from each program's own --help and --version, so that they say what
# the programs say; gzipped, as Debian keeps them.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)

set(PELLIMO_MAN_PAGES)
foreach(program_and_summary
    "pellimo|launch and drive Pellimo desktop widgets"
    "pellimo-widget|a Pellimo desktop widget module"
    "pellimo-ansi|translate ANSI SGR escape sequences to JSON or HTML")
  string(REPLACE "|" ";" program_and_summary ${program_and_summary})
  list(GET program_and_summary 0 program)
  list(GET program_and_summary 1 summary)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  set(include ${PROJECT_SOURCE_DIR}/data/man/${program}.h2m)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${summary} --include=${include}
            --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${program} ${include}
    COMMENT "Writing the man page of ${program}"
    VERBATIM)
  list(APPEND PELLIMO_MAN_PAGES ${page}.gz)
endforeach()
add_custom_target(man-pages ALL DEPENDS ${PELLIMO_MAN_PAGES})
