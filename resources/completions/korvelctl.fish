# fish completion for korvelctl: commands, options, profile numbers, lighting fields, G keys,
# profile files (*.kvp, and their JSON form) and complete backups (*.json).

set -l commands info profile monitor validate dump encode blob import verify backup restore export convert lighting press diff remap reset macro rules
set -l keys A B C D E F G H I J K L M N O P Q R S T U V W X Y Z 0 1 2 3 4 5 6 7 8 9 F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 G1 G2 G3 G4 G5 G6 G7 G8 G9 Esc Tab CapsLock Shift RightShift Ctrl RightCtrl Alt RightAlt Win RightWin App Space Enter Backspace Insert Delete Home End PageUp PageDown Up Down Left Right PrintScreen ScrollLock Pause NumLock
set -l targets $keys VolumeUp VolumeDown Mute PlayPause NextTrack PreviousTrack Stop MediaPlayer BrowserHome Calculator Mail MyComputer Open New Undo Save Copy Cut Paste Find SelectAll macro:
set -l fields effect brightness speed direction multicolor color base-color paint-color report-rate tool effect17

complete -c korvelctl -f
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -l simulate -r -F -d 'use the virtual keyboard, its memory in STATE'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -l latency-ms -x -d 'per-report latency of the virtual keyboard'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -l documents -x -a '(__fish_complete_directories)' -d 'the folder that stands for Documents'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -l trace -d 'print every report of the command channel'
complete -c korvelctl -s h -l help -d 'show the help'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -l version -d 'show the version'

complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a info -d "the keyboard's information block"
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a profile -d 'print or set the active onboard profile'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a monitor -d "follow the keyboard's events"
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a validate -d 'check a profile file as the import does'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a dump -d 'show a profile file'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a encode -d 'the key table a download would send'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a blob -d 'the macro area a download would send'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a import -d 'download a profile file, backed up and read back'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a verify -d 'compare the keyboard with a profile file'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a backup -d 'write what the keyboard holds'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a restore -d 'make the keyboard hold a complete backup again'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a export -d 'reload the working file and write it'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a convert -d 'a profile file into its JSON form, or back'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a lighting -d 'show or set the lighting'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a press -d 'the virtual keyboard presses a G key'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a diff -d 'what differs between two setups'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a remap -d 'make a key do something else'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a reset -d 'give a key back its own function'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a macro -d 'list, show, add or delete macros'
complete -c korvelctl -n "not __fish_seen_subcommand_from $commands" -a rules -d 'the onboard profile for the program in front'
complete -c korvelctl -n "__fish_seen_subcommand_from rules; and not __fish_seen_subcommand_from list add remove" -a 'list add remove'
complete -c korvelctl -n "__fish_seen_subcommand_from macro; and not __fish_seen_subcommand_from list show add delete" -a 'list show add delete'
complete -c korvelctl -n "__fish_seen_subcommand_from list" -l json -d 'one JSON document'
complete -c korvelctl -n "__fish_seen_subcommand_from add" -l cycles -x -d 'how often it plays'

complete -c korvelctl -n "__fish_seen_subcommand_from info profile dump diff lighting; and not __fish_seen_subcommand_from set" -l json -d 'one JSON document'
complete -c korvelctl -n "__fish_seen_subcommand_from import" -l no-verify -d 'do not read back what was downloaded'
complete -c korvelctl -n "__fish_seen_subcommand_from import" -l no-backup -d 'do not first back up the keyboard'
complete -c korvelctl -n "__fish_seen_subcommand_from backup" -l complete -d 'a complete backup'
complete -c korvelctl -n "__fish_seen_subcommand_from export" -l json -d 'the JSON form of the profile file'

complete -c korvelctl -n "__fish_seen_subcommand_from validate dump encode blob import verify convert" -k -a '(__fish_complete_suffix .kvp)'
complete -c korvelctl -n "__fish_seen_subcommand_from validate dump import verify convert" -k -a '(__fish_complete_suffix .json)'
complete -c korvelctl -n "__fish_seen_subcommand_from restore" -k -a '(__fish_complete_suffix .json)'
complete -c korvelctl -n "__fish_seen_subcommand_from backup export" -F
complete -c korvelctl -n "__fish_seen_subcommand_from diff" -F -a keyboard
complete -c korvelctl -n "__fish_seen_subcommand_from profile encode" -a '1 2 3'
complete -c korvelctl -n "__fish_seen_subcommand_from press" -a 'G1 G2 G3 G4 G5 G6 G7 G8 G9'
complete -c korvelctl -n "__fish_seen_subcommand_from lighting; and not __fish_seen_subcommand_from set" -a 'set 1 2 3'
complete -c korvelctl -n "__fish_seen_subcommand_from set; and not __fish_seen_subcommand_from $fields" -a "$fields"
complete -c korvelctl -n "__fish_seen_subcommand_from remap reset" -l profile -x -a '1 2 3' -d 'the onboard profile'
complete -c korvelctl -n "__fish_seen_subcommand_from remap" -l cycles -x -d 'how often a macro plays'
complete -c korvelctl -n "__fish_seen_subcommand_from remap; and test (count (commandline -opc)) -ge 3" -a "$targets"
complete -c korvelctl -n "__fish_seen_subcommand_from remap reset; and test (count (commandline -opc)) -lt 3" -a "$keys"
