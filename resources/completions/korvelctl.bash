# bash completion for korvelctl: commands, options, profile numbers, lighting fields, G keys,
# profile files (*.kvp, and their JSON form) and complete backups (*.json).

_korvelctl_files() {
    # Files with the extensions given and folders; every file when none is given.
    local IFS=$'\n' extension
    if (($# == 0)) || [[ -z $1 ]]; then
        COMPREPLY=($(compgen -o plusdirs -f -- "$cur"))
    else
        COMPREPLY=($(compgen -d -- "$cur"))
        for extension in "$@"; do
            COMPREPLY+=($(compgen -f -X "!*.$extension" -- "$cur"))
        done
    fi
    compopt -o filenames 2>/dev/null
}

_korvelctl() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="info profile monitor validate dump encode blob import verify backup restore
                    export convert lighting press diff remap reset macro rules"
    local globals="--simulate --simulate= --latency-ms --documents --trace --help --version"
    local keys="A B C D E F G H I J K L M N O P Q R S T U V W X Y Z 0 1 2 3 4 5 6 7 8 9 F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 G1 G2 G3 G4 G5 G6 G7 G8 G9 Esc Tab CapsLock Shift RightShift Ctrl RightCtrl Alt RightAlt Win RightWin App Space Enter Backspace Insert Delete Home End PageUp PageDown Up Down Left Right PrintScreen ScrollLock Pause NumLock"
    local targets="$keys VolumeUp VolumeDown Mute PlayPause NextTrack PreviousTrack Stop MediaPlayer BrowserHome Calculator Mail MyComputer Open New Undo Save Copy Cut Paste Find SelectAll macro:"
    local fields="effect brightness speed direction multicolor color base-color paint-color
                  report-rate tool effect17"

    case $prev in
        --documents)
            COMPREPLY=($(compgen -d -- "$cur"))
            compopt -o filenames 2>/dev/null
            return
            ;;
        --latency-ms | --cycles) return ;;
        --profile)
            COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
            return
            ;;
    esac

    # The command, and the words after it.
    local i command="" after=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        local word=${COMP_WORDS[i]}
        if [[ -z $command ]]; then
            case $word in
                --documents | --latency-ms) ((i++)) ;;
                -*) ;;
                *) command=$word ;;
            esac
        elif [[ $word != -* ]]; then
            after+=("$word")
        fi
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$globals" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local options="--help"
    case $command in
        info) options+=" --json" ;;
        profile) options+=" --json" ;;
        dump | diff) options+=" --json" ;;
        import) options+=" --no-verify --no-backup" ;;
        backup) options+=" --complete" ;;
        export) options+=" --json" ;;
        remap) options+=" --profile --cycles" ;;
        reset) options+=" --profile" ;;
        rules) [[ ${after[0]} == list ]] && options+=" --json" ;;
        macro) [[ ${after[0]} == list ]] && options+=" --json"
            [[ ${after[0]} == add ]] && options+=" --cycles" ;;
        lighting) ((${#after[@]} == 0)) && options+=" --json" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    local n=${#after[@]}
    case $command in
        profile) ((n == 0)) && COMPREPLY=($(compgen -W "1 2 3" -- "$cur")) ;;
        press) ((n == 0)) && COMPREPLY=($(compgen -W "G1 G2 G3 G4 G5 G6 G7 G8 G9" -- "$cur")) ;;
        validate | dump | import | verify) ((n == 0)) && _korvelctl_files kvp json ;;
        convert) ((n < 2)) && _korvelctl_files kvp json ;;
        encode)
            if ((n == 0)); then
                _korvelctl_files kvp
            elif ((n == 1)); then
                COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
            fi
            ;;
        blob) ((n == 0)) && _korvelctl_files kvp ;;
        restore) ((n == 0)) && _korvelctl_files json ;;
        backup | export) ((n == 0)) && _korvelctl_files "" ;;
        remap)
            if ((n == 0)); then
                COMPREPLY=($(compgen -W "$keys" -- "$cur"))
            elif ((n == 1)); then
                COMPREPLY=($(compgen -W "$targets" -- "$cur"))
            fi
            ;;
        reset) ((n == 0)) && COMPREPLY=($(compgen -W "$keys" -- "$cur")) ;;
        macro)
            if ((n == 0)); then
                COMPREPLY=($(compgen -W "list show add delete" -- "$cur"))
            elif [[ ${after[0]} == add ]] && ((n >= 2)); then
                COMPREPLY=($(compgen -W "$keys" -P "${cur:0:1}" -- "${cur#[+-]}"))
                [[ $cur == [+-]* ]] || COMPREPLY=($(compgen -W "$keys" -- "$cur"))
            fi
            ;;
        rules)
            if ((n == 0)); then
                COMPREPLY=($(compgen -W "list add remove" -- "$cur"))
            elif [[ ${after[0]} == add ]] && ((n == 2)); then
                COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
            fi
            ;;
        diff)
            if ((n < 2)); then
                _korvelctl_files ""
                COMPREPLY+=($(compgen -W "keyboard" -- "$cur"))
            fi
            ;;
        lighting)
            if ((n == 0)); then
                COMPREPLY=($(compgen -W "set 1 2 3" -- "$cur"))
            elif [[ ${after[0]} == set ]]; then
                if ((n == 1)); then
                    COMPREPLY=($(compgen -W "$fields" -- "$cur"))
                elif ((n == 3)); then
                    COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
                fi
            fi
            ;;
    esac
}

complete -F _korvelctl korvelctl
