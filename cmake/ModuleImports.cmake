# SPDX-License-Identifier: GPL-3.0-or-later
# The symbols of our own code that MODULE leaves undefined, as linker options for the program that
# loads it (OUTPUT): each is exported, and must be defined, taken from our libraries if the
# program itself does not call it, or the program fails to link.
#   cmake -DNM=nm -DMODULE=pellimo-editor.so -DOUTPUT=editor-imports.flags -P ModuleImports.cmake
execute_process(COMMAND ${NM} -D --undefined-only ${MODULE} OUTPUT_VARIABLE listing
                COMMAND_ERROR_IS_FATAL ANY)
# Our code is all in namespace pellimo, which every mangled name of it spells as "7pellimo".
string(REGEX MATCHALL "[^ \n]*7pellimo[^ \n]*" symbols "${listing}")
list(REMOVE_DUPLICATES symbols)
list(SORT symbols)
set(flags "")
foreach(symbol IN LISTS symbols)
  string(APPEND flags "--require-defined=${symbol}\n--export-dynamic-symbol=${symbol}\n")
endforeach()
file(WRITE ${OUTPUT} "${flags}")
