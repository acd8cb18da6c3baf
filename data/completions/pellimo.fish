# SPDX-License-Identifier: GPL-3.0-or-later
# fish completion for pellimo: its commands and options, the commands `send` takes, and module
# names, which `pellimo list --names` gives (a word with a slash completes as a module directory).

function __pellimo_modules
    set -l token (commandline -ct)
    if string match -q -- '*/*' $token
        __fish_complete_directories $token
    else
        pellimo list --names 2>/dev/null
    end
end

set -l commands launch send status watch list new autostart remove tray help
set -l send_commands edit raise flat config clear refresh kill
set -l none "not __fish_seen_subcommand_from $commands"

complete -c pellimo -f
complete -c pellimo -n $none -s h -l help -d 'Show the help'
complete -c pellimo -n $none -s v -l version -d 'Show the version'
complete -c pellimo -n $none -a launch -d 'Start a widget module'
complete -c pellimo -n $none -a send -d 'Send a command to a running module'
complete -c pellimo -n $none -a status -d 'Show what a running module shows'
complete -c pellimo -n $none -a watch -d 'Print each announcement and frame report'
complete -c pellimo -n $none -a list -d 'Show the modules and which of them run'
complete -c pellimo -n $none -a new -d 'Make a new module'
complete -c pellimo -n $none -a autostart -d 'Mark a module to start at login, or unmark it'
complete -c pellimo -n $none -a remove -d 'Remove a module made with new'
complete -c pellimo -n $none -a tray -d 'Show the tray icon that manages the modules'
complete -c pellimo -n $none -a help -d 'Show the help of a command'
complete -c pellimo -n '__fish_seen_subcommand_from help' -a "$commands"

complete -c pellimo -n '__fish_seen_subcommand_from launch' -l all -d 'Start every module'
complete -c pellimo -n '__fish_seen_subcommand_from launch' -l autostart \
    -d 'Start the modules marked to start at login'
complete -c pellimo -n '__fish_seen_subcommand_from status' -l json -d 'Print JSON'
complete -c pellimo -n '__fish_seen_subcommand_from watch' -l count -x \
    -d 'Stop after this many reports'
complete -c pellimo -n '__fish_seen_subcommand_from list' -l names -d 'Print only the module names'
complete -c pellimo -n '__fish_seen_subcommand_from list' -l json -d 'Print JSON'
complete -c pellimo -n '__fish_seen_subcommand_from autostart' -l tray -d 'Mark the tray icon instead'
complete -c pellimo -n '__fish_seen_subcommand_from remove' -l yes -d 'Delete without asking'
complete -c pellimo -n '__fish_seen_subcommand_from tray' -l wait -d 'Wait up to a minute for a system tray'

set -l sending "__fish_seen_subcommand_from send; and not __fish_seen_subcommand_from $send_commands"
complete -c pellimo -n $sending -a edit -d 'Toggle between flat and raised'
complete -c pellimo -n $sending -a raise -d 'Float above other windows'
complete -c pellimo -n $sending -a flat -d 'Lie on the desktop again'
complete -c pellimo -n $sending -a config -d 'Open the editor'
complete -c pellimo -n $sending -a clear -d "Wipe the module's settings and script file"
complete -c pellimo -n $sending -a refresh -d 'Run the script now'
complete -c pellimo -n $sending -a kill -d 'Quit the module'

set -l marking "__fish_seen_subcommand_from autostart; and not __fish_seen_subcommand_from on off"
complete -c pellimo -n $marking -a 'on off'

complete -c pellimo -n '__fish_seen_subcommand_from launch status watch remove' -a '(__pellimo_modules)'
complete -c pellimo -n "__fish_seen_subcommand_from send; and __fish_seen_subcommand_from $send_commands" \
    -a '(__pellimo_modules)'
complete -c pellimo -n '__fish_seen_subcommand_from autostart; and __fish_seen_subcommand_from on off' \
    -a '(__pellimo_modules)'
