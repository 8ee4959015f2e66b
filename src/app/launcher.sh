#!/bin/sh
# Starts Quorvel for one user on an application folder of that user's own,
# $XDG_DATA_HOME/quorvel (by default ~/.local/share/quorvel), so that edit
# mode can write its data files. Installed as <prefix>/bin/quorvel; the
# program stays in <prefix>/lib/quorvel beside the bundled data files and is
# told the user's folder with --app-folder=FOLDER.
#
# The first start fills the folder with help.txt and the bundled data files;
# later starts replace help.txt when the installed one has another time of
# change. conversion.txt and the unit files there are the user's: when the
# installed ones change, the program merges the changes into them. Files
# arrive whole: they are copied into a folder of this start's own beside
# their places and linked or renamed there, so that two starts at once see
# either no file or a complete one. Only regular files are compared or
# replaced; anything else in their place is left alone and reported. A start
# with nothing to copy or remove runs shell built-ins only.
#
# Where the folder cannot be used (HOME unset, a read-only or full home
# folder, a folder of someone else or one that others may write, something
# else in its place), stderr says why and the program starts on the installed
# data with --fallback=REASON:FOLDER, so that File > Edit says it too.
set -u
private=
why=

case $0 in */*) self=$0 ;; *) self=./$0 ;; esac
[ -L "$self" ] && self=$(readlink -f -- "$self")
installed=${self%/*}/../lib/quorvel
if [ ! -x "$installed/quorvel" ]; then
    echo "quorvel: the program is missing from $installed" >&2
    exit 127
fi

# Answered by the program alone: no folder of the user's is needed.
case ${1:-} in --version | --help) exec "$installed/quorvel" "$1" ;; esac

say() { echo "quorvel: $*" >&2; }
# Nothing at all is at $1; something, but no regular file, is at $1.
none() { ! [ -e "$1" ] && ! [ -L "$1" ]; }
other() { ! [ -f "$1" ] && ! none "$1"; }
# help.txt there is missing, or a regular file of another time of change
# than the installed one (dash, bash and busybox sh know -nt and -ot).
stale() {
    none "$help" || { [ -f "$help" ] && { [ "$installed/help.txt" -nt "$help" ] \
        || [ "$installed/help.txt" -ot "$help" ]; }; }
}

# The reason word for a failed command's message in $detail.
classify() {
    case $detail in
    *'No space left'* | *'quota exceeded'*) why=full ;;
    *'Read-only file system'* | *'Permission denied'*) why=read-only ;;
    *) why=failed ;;
    esac
}

# Runs a command that writes into the folder, making what it makes for this
# user alone; on failure, $why and $detail say why.
run() {
    detail=$(umask 077 && LC_ALL=C "$@" 2>&1) || { classify && return 1; }
}

# Hard links the staged files "$@" into the folder: a link never replaces
# what is there, a racing start's copy or what the user put there.
link() {
    detail=$(LC_ALL=C ln -- "$@" "$private/" 2>&1)
    for file; do
        file=$private/${file##*/}
        if other "$file"; then
            say "left alone, as it is not a regular file: $file"
        elif ! [ -f "$file" ]; then
            classify
            return 1
        fi
    done
}

prepare() {
    # A relative XDG_DATA_HOME is to be ignored, as the XDG rules say.
    case ${XDG_DATA_HOME:-} in
    /*) private=$XDG_DATA_HOME/quorvel ;;
    *)
        case ${HOME:-} in
        /*) private=$HOME/.local/share/quorvel ;;
        *) why=no-home detail="HOME is not set to a folder" && return 1 ;;
        esac
        ;;
    esac
    if [ ! -d "$private" ]; then
        none "$private" || { why=not-a-folder detail="it is not a folder" && return 1; }
        run mkdir -p -- "$private" || return 1
    fi
    [ -O "$private" ] || { why=not-owned detail="it belongs to another user" && return 1; }

    list=$private/conversion.txt help=$private/help.txt new=$private/.files.new.$$ fill=
    none "$list" && fill=1
    other "$help" && say "left alone, as it is not a regular file: $help"
    set -- "$private"/.*.new.*
    if [ -n "$fill" ] || ! none "$1" || [ -f "$private/quorvel" ] || stale; then
        # Only a folder that no one else may write is written to: the mode
        # bits cost the one command that a start which writes runs first. The
        # program checks them again, at no cost, on every start.
        mode=$(stat -L -c %A -- "$private") || mode='?????w'
        case $mode in
        ?????w* | ????????w*) why=shared detail="other users may write to it" && return 1 ;;
        esac
        write "$@"
        status=$?
        [ ! -d "$new" ] || rm -rf -- "$new"
        [ $status = 0 ] || return 1
    fi
    other "$list" && why=blocked detail="$list is not a regular file" && return 1
    return 0
}

# Removes what starts that were cut short and earlier launchers left behind,
# fills the folder on the first start and brings help.txt up to date.
write() {
    # The copies of a start whose process no longer runs (or runs this one).
    for left; do
        pid=${left##*.}
        case $pid in '' | *[!0-9]*) continue ;; esac
        if [ "$pid" = $$ ] || ! kill -0 "$pid" 2>/dev/null; then
            rm -rf -- "$left"
        fi
    done
    # Earlier launchers kept a copy of the program here, under a name that no
    # data file of the program can have.
    if [ -f "$private/quorvel" ] && [ ! -L "$private/quorvel" ]; then
        run rm -f -- "$private/quorvel" || say "cannot remove the old program copy: $detail"
    fi
    if [ -z "$fill" ] && ! stale; then
        return 0
    elif ! run mkdir -- "$new"; then
        [ -z "$fill" ] || return 1
        say "cannot replace $help: $detail"
        return 0
    elif [ -n "$fill" ]; then
        run cp -p -- "$installed"/*.txt "$new/" || return 1
        set --
        for file in "$new"/*.txt; do
            case ${file##*/} in conversion.txt | help.txt) ;; *) set -- "$@" "$file" ;; esac
        done
        # conversion.txt comes last: while it is missing, a start that was
        # cut short has not finished filling the folder.
        link "$@" && link "$new/conversion.txt" || return 1
    fi
    if stale && ! { { [ -f "$new/help.txt" ] || run cp -p -- "$installed/help.txt" "$new/"; } \
        && run mv -f -- "$new/help.txt" "$help"; }; then
        say "cannot replace $help: $detail"
    fi
}

# The installed data files changed since the program last brought the folder
# up to date with them (--upgrade): every package that adds, replaces or
# removes a file in the installed folder changes that folder's time of
# change, which the program gives .bundle, its copy of the installed data
# files, once it has merged them all.
changed() {
    ! [ -d "$private/.bundle" ] || [ "$installed" -nt "$private/.bundle" ] \
        || [ "$installed" -ot "$private/.bundle" ]
}

# Earlier launchers made ~/.local and ~/.local/share writable by all
# under umask 000, so that another user could put a folder of theirs in
# place of this one. The start that brings the folder up to date takes that
# back, on folders of this user's only.
tighten() {
    case $private in "${HOME:-}/.local/share/quorvel") ;; *) return 0 ;; esac
    for dir in "$HOME/.local" "$HOME/.local/share"; do
        if [ -O "$dir" ] && ! [ -L "$dir" ]; then
            chmod go-w -- "$dir" 2>/dev/null || say "cannot make $dir yours alone"
        fi
    done
}

if prepare; then
    if changed; then
        tighten
        exec "$installed/quorvel" "--app-folder=$private" --upgrade "$@"
    fi
    exec "$installed/quorvel" "--app-folder=$private" "$@"
fi
say "cannot use the application folder ${private:-of this user}: $detail"
shown=$(cd -- "$installed" && pwd -P) || shown=$installed
say "starting the program on the installed data files in $shown instead"
exec "$installed/quorvel" "--fallback=$why:$private" "$@"
