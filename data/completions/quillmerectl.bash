# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for quillmerectl: its commands, then the options of the
# command given, the export formats and file names. Other values (a
# question, a name, seconds, a date) are the user's own.

_quillmerectl()
{
    local cur prev command="" word i
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}

    local commands="status ask questions wait-interruptible pause resume end-focus extend-break
        end-break skip-break start start-now cancel-scheduled show mcp export help"

    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -- ]]; then
            return 0
        fi
        if [[ -z $command && $word != -* ]]; then
            command=$word
        fi
    done

    case $prev in
        --as | --timeout | --since | --until)
            return 0
            ;;
        --format)
            COMPREPLY=($(compgen -W "csv json" -- "$cur"))
            return 0
            ;;
        --output)
            COMPREPLY=($(compgen -f -- "$cur"))
            return 0
            ;;
    esac

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return 0
    fi

    local options=""
    case $command in
        status) options="--json --watch" ;;
        ask) options="--as --wait --timeout --" ;;
        questions) options="--json" ;;
        wait-interruptible) options="--timeout" ;;
        export) options="--format --since --until --output --force" ;;
    esac
    if [[ $cur == -* || $command != ask ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
    fi
    return 0
} &&
    complete -F _quillmerectl quillmerectl
