# SPDX-License-Identifier: MIT
# fish completion for sorvalactl

set -l commands version draw simulate settings history sound probe shortcuts status action
complete -c sorvalactl -f
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a version -d 'Print the version'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a draw -d 'Generate a drawing'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a simulate -d 'Run a day on virtual time'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a settings -d 'Show and change settings'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a history -d 'Statistics, reports and CSV export'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a sound -d 'Play one chime'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a probe -d 'Show what the system reports'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a shortcuts -d 'List the global shortcuts'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a status -d 'What the running Sorvala is doing'
complete -c sorvalactl -n "not __fish_seen_subcommand_from $commands" -a action -d 'Hand a command to the running Sorvala'

set -l settings_commands list get set reset
complete -c sorvalactl -n "__fish_seen_subcommand_from settings; and not __fish_seen_subcommand_from $settings_commands" -a "$settings_commands"
complete -c sorvalactl -n "__fish_seen_subcommand_from settings; and __fish_seen_subcommand_from list" -l json
complete -c sorvalactl -n "__fish_seen_subcommand_from settings; and __fish_seen_subcommand_from get set reset" \
    -a "(sorvalactl settings list 2>/dev/null | string replace -r '\s.*' '')"
complete -c sorvalactl -n "__fish_seen_subcommand_from settings; and __fish_seen_subcommand_from reset" -l all

set -l history_commands stats report export
complete -c sorvalactl -n "__fish_seen_subcommand_from history; and not __fish_seen_subcommand_from $history_commands" -a "$history_commands"
complete -c sorvalactl -n "__fish_seen_subcommand_from history" -l date -x -d 'The day, YYYY-MM-DD'
complete -c sorvalactl -n "__fish_seen_subcommand_from history" -l json
complete -c sorvalactl -n "__fish_seen_subcommand_from history" -l output -r -F
complete -c sorvalactl -n "__fish_seen_subcommand_from history" -l file -r -F

complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l size -x -d 'WxH'
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l drawing -x
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l seed -x
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l strokes
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l png -r -F
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l scale -x
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l theme -x -a 'paper dark'
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l style -x -a 'pencil brush'
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l ink -x
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l simulate
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l speed -x
complete -c sorvalactl -n "__fish_seen_subcommand_from draw" -l fps -x

complete -c sorvalactl -n "__fish_seen_subcommand_from simulate" -F
complete -c sorvalactl -n "__fish_seen_subcommand_from sound" -a 'Glass Submarine Hero Purr Pop Tink'
complete -c sorvalactl -n "__fish_seen_subcommand_from sound" -l volume -x
complete -c sorvalactl -n "__fish_seen_subcommand_from probe" -l json
complete -c sorvalactl -n "__fish_seen_subcommand_from probe" -l watch
complete -c sorvalactl -n "__fish_seen_subcommand_from shortcuts" -l listen -x
complete -c sorvalactl -n "__fish_seen_subcommand_from status" -l json
complete -c sorvalactl -n "__fish_seen_subcommand_from status" -l follow
complete -c sorvalactl -n "__fish_seen_subcommand_from action" -a 'start-break start-micro-break toggle-pause snooze-1 snooze-5 snooze-15'
