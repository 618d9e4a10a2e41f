# SPDX-License-Identifier: MIT
# bash completion for sorvalactl

_sorvalactl_setting_keys() {
    sorvalactl settings list 2>/dev/null | awk '{ print $1 }'
}

_sorvalactl() {
    local cur prev words cword
    _init_completion || return

    local commands="version draw simulate settings history sound probe shortcuts status action"
    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands --help" -- "$cur"))
        return
    fi

    case $prev in
        --png | --output | --file)
            _filedir
            return
            ;;
        --theme)
            COMPREPLY=($(compgen -W "paper dark" -- "$cur"))
            return
            ;;
        --style)
            COMPREPLY=($(compgen -W "pencil brush" -- "$cur"))
            return
            ;;
        --size | --drawing | --seed | --scale | --ink | --speed | --fps | --date | --volume | --listen)
            return
            ;;
    esac

    case ${words[1]} in
        settings)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "list get set reset --help" -- "$cur"))
            elif [[ $cword -eq 3 ]]; then
                case ${words[2]} in
                    list) COMPREPLY=($(compgen -W "--json" -- "$cur")) ;;
                    get | set) COMPREPLY=($(compgen -W "$(_sorvalactl_setting_keys)" -- "$cur")) ;;
                    reset) COMPREPLY=($(compgen -W "--all $(_sorvalactl_setting_keys)" -- "$cur")) ;;
                esac
            fi
            ;;
        history)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "stats report export" -- "$cur"))
            else
                case ${words[2]} in
                    stats) COMPREPLY=($(compgen -W "--date --json --file" -- "$cur")) ;;
                    report) COMPREPLY=($(compgen -W "--json --file" -- "$cur")) ;;
                    export) COMPREPLY=($(compgen -W "--output --file" -- "$cur")) ;;
                esac
            fi
            ;;
        draw)
            COMPREPLY=($(compgen -W "--size --drawing --seed --strokes --png --scale --theme --style --ink
                                     --simulate --speed --fps --help" -- "$cur"))
            ;;
        simulate)
            [[ $cword -eq 2 ]] && _filedir jsonl
            ;;
        sound)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "Glass Submarine Hero Purr Pop Tink" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "--volume" -- "$cur"))
            fi
            ;;
        probe) COMPREPLY=($(compgen -W "--json --watch --help" -- "$cur")) ;;
        shortcuts) COMPREPLY=($(compgen -W "--listen --help" -- "$cur")) ;;
        status) COMPREPLY=($(compgen -W "--json --follow --help" -- "$cur")) ;;
        action)
            [[ $cword -eq 2 ]] &&
                COMPREPLY=($(compgen -W "start-break start-micro-break toggle-pause snooze-1 snooze-5 snooze-15" \
                    -- "$cur"))
            ;;
    esac
} &&
    complete -F _sorvalactl sorvalactl
