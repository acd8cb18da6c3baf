# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for pellimo: its commands and options, the commands `send` takes, and module
# names, which `pellimo list --names` gives (a word with a slash completes as a module directory).

_pellimo_modules() {
  if [[ $cur == */* ]]; then
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
  else
    mapfile -t COMPREPLY < <(compgen -W "$("$1" list --names 2>/dev/null)" -- "$cur")
  fi
}

_pellimo() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local commands='launch send status watch list new autostart remove tray help'
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    mapfile -t COMPREPLY < <(compgen -W "$commands -h --help -v --version" -- "$cur")
    return
  fi

  local command=${COMP_WORDS[1]} options='' positional=0 i
  # The words before this one that are not options say which argument this word is.
  for ((i = 2; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --count) ((i++)) ;;
      -*) ;;
      *) ((positional++)) ;;
    esac
  done
  [[ $prev == --count ]] && return
  case $command in
    launch) options='--all --autostart' ;;
    status) options='--json' ;;
    watch) options='--count' ;;
    list) options='--names --json' ;;
    autostart) options='--tray' ;;
    remove) options='--yes' ;;
    tray) options='--wait' ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options -h --help" -- "$cur")
    return
  fi

  case $command:$positional in
    send:0) mapfile -t COMPREPLY < <(compgen -W 'edit raise flat config clear refresh kill' -- "$cur") ;;
    autostart:0) mapfile -t COMPREPLY < <(compgen -W 'on off' -- "$cur") ;;
    help:0) mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur") ;;
    launch:0 | status:0 | watch:0 | remove:0 | send:1 | autostart:1) _pellimo_modules "$1" ;;
  esac
}

complete -F _pellimo pellimo
