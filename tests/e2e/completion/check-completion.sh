#!/usr/bin/env bash
# The bash completion of tolm-cli, run the way bash runs it on Tab: COMP_WORDS, COMP_CWORD,
# COMP_LINE and COMP_POINT set, the completion function called, COMPREPLY read back.
#   check-completion.sh BUILD_DIR COMPLETION_FILE with-bash-completion|plain
# with-bash-completion: bash-completion's loader finds the file by the command's name, as in
# an interactive shell; plain: the file is sourced into a bare bash.
set -uo pipefail
build=$(cd "$1" && pwd)
file=$2
mode=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "$mode" = with-bash-completion ]; then
    mkdir -p "$work/data/bash-completion/completions"
    ln -s "$(cd "$(dirname "$file")" && pwd)/$(basename "$file")" \
        "$work/data/bash-completion/completions/tolm-cli"
    export BASH_COMPLETION_USER_DIR="$work/data/bash-completion"
    # shellcheck disable=SC1091
    source /usr/share/bash-completion/bash_completion
    _completion_loader tolm-cli
else
    # shellcheck disable=SC1090
    source "$file"
fi

status=0
registered=$(complete -p tolm-cli 2>&1)
if [[ $registered != "complete -F _tolm_cli tolm-cli" ]]; then
    echo "complete -p tolm-cli: $registered"
    status=1
fi

# Two stand-ins for tolm-cli: one whose 'ports' lists two adapters (a header line first), one
# without that command, as before it existed.
mkdir -p "$work/ports" "$work/noports"
cat >"$work/ports/tolm-cli" <<EOF
#!/bin/sh
if [ "\$1" = ports ]; then
    printf 'name     path          description\n'
    printf 'ttyUSB0  /dev/ttyUSB0  FT232R USB UART\n'
    printf 'ttyUSB1  /dev/ttyUSB1  CP2102 USB to UART\n'
    exit 0
fi
exec "$build/tolm-cli" "\$@"
EOF
cat >"$work/noports/tolm-cli" <<EOF
#!/bin/sh
[ "\$1" = ports ] && { echo "tolm-cli: unknown command 'ports'" >&2; exit 2; }
exec "$build/tolm-cli" "\$@"
EOF
chmod +x "$work/ports/tolm-cli" "$work/noports/tolm-cli"
export PATH="$build:$PATH"

mkdir -p "$work/files/sub"
touch "$work/files/blink.hex" "$work/files/BOARD.HEX" "$work/files/notes.txt"
cd "$work/files" || exit 1

# Prints the candidates for the command line $1 (the cursor at its end), sorted, one line.
candidates()
{
    local line=$1
    # bash splits "=" off as a word of its own.
    read -ra COMP_WORDS <<<"${line//=/ = }"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _tolm_cli tolm-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sed 's|/$||' | sort | paste -sd' '
}

# line | candidates | where (all, or bc: only with bash-completion's word handling)
cases="
tolm-cli -d 16f8|16f83 16f84 16f84a 16f873 16f873a 16f874 16f874a 16f876 16f876a 16f877 16f877a 16f882 16f883 16f884 16f886 16f887|all
tolm-cli --device=16f62|16f627 16f627a 16f628 16f628a|bc
tolm-cli write board.hex -d 12c|12c508 12c509 12ce674|all
tolm-cli log --device 16c6|16c61 16c62 16c62A 16c63 16c64 16c65 16c65A|all
tolm-cli de|detect devices|all
tolm-cli -q |blank cal config convert detect devices erase id identify log ports probe protect read show verify write|all
tolm-cli -d 16f84 config |build decode read write|all
tolm-cli id |read write|all
tolm-cli -m s|serial|all
tolm-cli -t prog,d|prog,data|all
tolm-cli --on-write-error r|retry=|all
tolm-cli write --f|--fast --force|all
tolm-cli verify --|--all --allow-conflicts --data-range --device --help --log --lot --method --no-log --on-write-error --operator --port --prog-range --quiet --serial-at --skip-outside --targets --trace --version --write-cal|all
tolm-cli -d 16f84 write |BOARD.HEX blink.hex sub|all
tolm-cli convert blink.hex |BOARD.HEX blink.hex sub|all
tolm-cli -d 16f84 write blink.hex ||all
tolm-cli write blink.hex --serial-at |data: id prog:|all
$work/ports/tolm-cli -p tty|ttyUSB0 ttyUSB1|all
$work/ports/tolm-cli -p ttyUSB0,|ttyUSB0,ttyUSB0 ttyUSB0,ttyUSB1|all
$work/ports/tolm-cli -p /dev/tty|/dev/ttyUSB0 /dev/ttyUSB1|all
$work/noports/tolm-cli -p COM|COM1 COM2|all
$work/noports/tolm-cli -p COM2,C|COM2,COM1 COM2,COM2|all
"

while IFS='|' read -r line expected where; do
    [ -n "$line" ] || continue
    [ "$where" = all ] || [ "$mode" = with-bash-completion ] || continue
    got=$(candidates "$line")
    if [ "$got" != "$expected" ]; then
        echo "'$line': expected '$expected', got '$got'"
        status=1
    fi
done <<<"$cases"

[ "$status" = 0 ] && echo "completion OK ($mode)"
exit "$status"
