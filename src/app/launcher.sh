#!/bin/sh
# Starts Quorvel for one user from an application folder of that user's own,
# $XDG_DATA_HOME/quorvel (by default ~/.local/share/quorvel), so that edit
# mode can write its data files. Installed as <prefix>/bin/quorvel beside
# the installed program in <prefix>/lib/quorvel.
#
# The first start fills the folder with a copy of the program, help.txt and
# the bundled data files. Every start replaces the program and help.txt there
# when the installed ones differ; the data files there, conversion.txt and
# the unit files, are the user's and are never replaced. Every file arrives
# whole: it is copied beside its place and then renamed or linked there, so
# two starts at once see either no file or a complete one.
#
# Where the folder cannot be made or brought up to date (a read-only or full
# home folder), the installed program starts as it is and stderr says why.
set -u
private=

self=$(readlink -f -- "$0") || self=$0
installed=$(cd -- "${self%/*}/../lib/quorvel" 2>/dev/null && pwd -P) || {
    echo "quorvel: the program is missing from ${self%/*}/../lib/quorvel" >&2
    exit 127
}

# Copies a file of the installed folder to the private one. "replace" puts
# it in place of the file there; "keep" leaves a file already there alone
# (a hard link never replaces one). On failure, $reason says why.
place() {
    new=$private/.$1.new.$$
    rm -f -- "$new"
    if ! reason=$(cp -- "$installed/$1" "$new" 2>&1); then
        rm -f -- "$new"
        return 1
    fi
    if [ "$2" = replace ]; then
        reason=$(mv -f -- "$new" "$private/$1" 2>&1)
    else
        reason=$(ln -- "$new" "$private/$1" 2>&1) || [ -e "$private/$1" ]
    fi
    status=$?
    rm -f -- "$new"
    return $status
}

prepare() {
    # A relative XDG_DATA_HOME is to be ignored, as the XDG rules say.
    case ${XDG_DATA_HOME:-} in
    /*) private=$XDG_DATA_HOME/quorvel ;;
    *)
        if [ -z "${HOME:-}" ]; then
            reason="HOME is not set"
            return 1
        fi
        private=$HOME/.local/share/quorvel
        ;;
    esac
    reason=$(mkdir -p -- "$private" 2>&1) || return 1

    # conversion.txt comes last: while it is missing, a start that was cut
    # short has not finished filling the folder.
    if [ ! -e "$private/conversion.txt" ]; then
        for file in "$installed"/*.txt; do
            name=${file##*/}
            case $name in
            help.txt | conversion.txt) ;;
            *) place "$name" keep || return 1 ;;
            esac
        done
        place conversion.txt keep || return 1
    fi
    for name in quorvel help.txt; do
        cmp -s -- "$installed/$name" "$private/$name" || place "$name" replace || return 1
    done
}

if prepare; then
    exec "$private/quorvel" "$@"
fi
echo "quorvel: cannot set up the application folder ${private:-of this user}: $reason" >&2
echo "quorvel: starting the program in $installed instead, where edits need write permission" >&2
exec "$installed/quorvel" "$@"
