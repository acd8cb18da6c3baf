# SPDX-License-Identifier: GPL-3.0-or-later
# The shell completions of `pellimo`: the bash one loads without a word on standard error and
# offers what the program takes; the zsh and fish ones parse, where those shells are installed.
cmake_policy(VERSION 3.25)
set(completions ${SOURCE}/data/completions)
set(home ${SCRATCH}/home)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${home})
foreach(variable HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME)
  set(ENV{${variable}} ${home})
endforeach()
set(ENV{PATH} "${BIN}:$ENV{PATH}")

# Completes a command line as typed, a trailing space starting a new word, as bash would on Tab.
set(complete [=[
  [ -r /usr/share/bash-completion/bash_completion ] && . /usr/share/bash-completion/bash_completion
  . "$1"
  read -ra COMP_WORDS <<<"$2"
  [[ $2 == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _pellimo pellimo "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}"
]=])
function(bash_completes line result)
  execute_process(COMMAND bash --norc --noprofile -c "${complete}" complete
                          ${completions}/pellimo.bash "${line}"
                  OUTPUT_VARIABLE words ERROR_VARIABLE errors COMMAND_ERROR_IS_FATAL ANY)
  if(errors)
    message(FATAL_ERROR "completing \"${line}\" wrote to standard error:\n${errors}")
  endif()
  string(REGEX REPLACE "\n$" "" words "${words}")
  string(REPLACE "\n" ";" words "${words}")
  list(SORT words)
  set(${result} "${words}" PARENT_SCOPE)
endfunction()

function(expect_same what expected actual)
  list(SORT expected)
  if(NOT "${expected}" STREQUAL "${actual}")
    message(FATAL_ERROR "${what}: expected \"${expected}\", completed \"${actual}\"")
  endif()
endfunction()
function(bash_offers line expected)
  bash_completes("${line}" offered)
  expect_same("${line}" "${expected}" "${offered}")
endfunction()

# Every command the help lists under "Commands:", up to the blank line, is offered; the
# commands to send, listed after it, are `send`'s.
execute_process(COMMAND pellimo --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\nCommands:(\n[^\n]+)+" commands "${help}")
string(REGEX MATCHALL "\n  [a-z]+ " listed "${commands}")
if(NOT listed)
  message(FATAL_ERROR "no commands found in `pellimo --help`")
endif()
bash_completes("pellimo " offered)
foreach(command ${listed})
  string(STRIP "${command}" command)
  if(NOT command IN_LIST offered)
    message(FATAL_ERROR "`pellimo ` does not complete the command \"${command}\"")
  endif()
endforeach()

# `send` offers exactly the commands it accepts, which it names when given another.
execute_process(COMMAND pellimo send no-such-command ERROR_VARIABLE refusal)
string(REGEX MATCH "one of ([a-z]+(, [a-z]+)*)" accepted "${refusal}")
string(REPLACE ", " ";" accepted "${CMAKE_MATCH_1}")
bash_offers("pellimo send " "${accepted}")
bash_offers("pellimo send r" "raise;refresh")

# Module names are what `pellimo list --names` prints; options and their values are left alone.
execute_process(COMMAND pellimo new clock OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND pellimo list --names OUTPUT_VARIABLE names ERROR_QUIET)
string(REGEX REPLACE "\n$" "" names "${names}")
string(REPLACE "\n" ";" names "${names}")
foreach(line "pellimo status " "pellimo send kill " "pellimo autostart on ")
  bash_offers("${line}" "${names}")
endforeach()
bash_offers("pellimo status --" "--json;--help")
bash_offers("pellimo autostart on --" "--help;--tray")
bash_offers("pellimo watch --count " "")

find_program(zsh zsh)
if(zsh)
  execute_process(COMMAND ${zsh} -n ${completions}/_pellimo COMMAND_ERROR_IS_FATAL ANY)
endif()
find_program(fish fish)
if(fish)
  execute_process(COMMAND ${fish} --no-config -c "source $argv[1]; complete -C 'pellimo send '"
                          ${completions}/pellimo.fish
                  OUTPUT_VARIABLE words COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "\t[^\n]*" "" words "${words}")
  string(REGEX REPLACE "\n$" "" words "${words}")
  string(REPLACE "\n" ";" words "${words}")
  list(SORT words)
  expect_same("fish: pellimo send " "${accepted}" "${words}")
endif()
