# SPDX-License-Identifier: GPL-3.0-or-later
# The symbols of our own code that MODULE leaves undefined, for the program that loads it:
# OUTPUT.list, a dynamic list that exports them, and OUTPUT.flags, linker options that make the
# program define each of them (taking it from our libraries if the program itself does not call
# it) or fail to link.
#   cmake -DNM=nm -DMODULE=pellimo-editor.so -DOUTPUT=editor-imports -P ModuleImports.cmake
execute_process(COMMAND ${NM} -D --undefined-only ${MODULE} OUTPUT_VARIABLE listing
                COMMAND_ERROR_IS_FATAL ANY)
# Our code is all in namespace pellimo, which every mangled name of it spells as "7pellimo".
string(REGEX MATCHALL "[^ \n]*7pellimo[^ \n]*" symbols "${listing}")
list(REMOVE_DUPLICATES symbols)
list(SORT symbols)
set(dynamicList "{\n")
set(flags "")
foreach(symbol IN LISTS symbols)
  string(APPEND dynamicList "  ${symbol};\n")
  string(APPEND flags "--require-defined=${symbol}\n")
endforeach()
string(APPEND dynamicList "};\n")
file(WRITE ${OUTPUT}.list "${dynamicList}")
file(WRITE ${OUTPUT}.flags "${flags}")
