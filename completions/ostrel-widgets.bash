# bash completion for ostrel-widgets                                  -*- shell-script -*-

_ostrel_widgets() {
    local cur prev words cword
    _init_completion || return

    local subcommands="check timeline entry snapshot placeholder tree render gallery watch host"
    local widgets="NextUp:systemSmall NextUp:systemMedium DueSoon:systemMedium DueSoon:systemLarge"

    case $prev in
        --feed)
            _filedir json
            return ;;
        -o | --output)
            _filedir '@(png|svg)'
            return ;;
        --png-dir)
            _filedir -d
            return ;;
        --kind)
            COMPREPLY=($(compgen -W "NextUp DueSoon" -- "$cur"))
            return ;;
        --family)
            COMPREPLY=($(compgen -W "systemSmall systemMedium systemLarge" -- "$cur"))
            return ;;
        --scheme)
            if [[ ${words[1]} == host ]]; then
                COMPREPLY=($(compgen -W "auto light dark" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "light dark" -- "$cur"))
            fi
            return ;;
        --corner)
            COMPREPLY=($(compgen -W "top-left top-right bottom-left bottom-right" -- "$cur"))
            return ;;
        --format)
            COMPREPLY=($(compgen -W "text short json waybar" -- "$cur"))
            return ;;
        --widget)
            COMPREPLY=($(compgen -W "$widgets" -- "$cur"))
            return ;;
        --macos)
            COMPREPLY=($(compgen -W "13 14" -- "$cur"))
            return ;;
        --speed)
            COMPREPLY=($(compgen -W "max" -- "$cur"))
            return ;;
        --tz)
            COMPREPLY=($(compgen -W "$(cd /usr/share/zoneinfo 2>/dev/null && find -L . -type f -name '[A-Z]*' -printf '%P\n' 2>/dev/null)" -- "$cur"))
            return ;;
        --now | --at | --until | --scale | --margin | --gap | --monitor | --locale)
            return ;;
    esac

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$subcommands --help --version" -- "$cur"))
        return
    fi

    local feed="--feed" clock="--now --tz" face="--locale"
    local options
    case ${words[1]} in
        check) options="--feed" ;;
        timeline) options="$feed $clock --json" ;;
        entry) options="--at $feed --tz --json" ;;
        snapshot) options="--preview $feed $clock --json" ;;
        placeholder) options="$clock --json" ;;
        tree) options="--kind --family --scheme --at --sample --macos $feed $clock $face --json" ;;
        render) options="--kind --family --scheme --at --sample --macos $feed $clock $face --output --scale" ;;
        gallery) options="--sample --at --macos --output --scale $feed $clock $face" ;;
        watch) options="--widget --scheme --png-dir --scale --format --speed --until $feed $clock $face" ;;
        host) options="--widget --corner --margin --gap --monitor --scheme --install-autostart
                       --remove-autostart --quit --replace --speed --until $feed $clock $face" ;;
        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
    elif [[ ${words[1]} == check ]]; then
        _filedir json
    fi
} &&
    complete -F _ostrel_widgets ostrel-widgets

# ex: filetype=sh
