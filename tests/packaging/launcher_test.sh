#!/bin/sh
# The launcher in an installed tree of its own, with a stand-in program that
# prints the path it was started as: first start, user data kept over an
# upgrade, XDG_DATA_HOME, racing starts, and read-only and full home folders.
# Usage: launcher_test.sh LAUNCHER
set -eu
t=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
lib=$t/usr/lib/quorvel
mkdir -p "$t/usr/bin" "$lib"
cp "$1" "$t/usr/bin/quorvel"
chmod 755 "$t/usr/bin/quorvel"
program() { # a stand-in of 64 KiB, so that it does not fit a full disk
    { printf '#!/bin/sh\necho "$0" # %s\n' "$1"; head -c 65536 /dev/zero | tr '\0' '#'; } >"$lib/quorvel"
    chmod 755 "$lib/quorvel"
}
program 1
printf '"Length"\r\n"Time"\r\n' >"$lib/conversion.txt"
printf '"Meters",1\r\n' >"$lib/Length.txt"
printf '"Seconds",1\r\n' >"$lib/Time.txt"
echo help 1 >"$lib/help.txt"
start() { HOME=$t/$1 "$t/usr/bin/quorvel" 2>"$t/err"; }
same() { diff -r "$lib" "$1" || fail "$1 differs from the installed folder"; }

[ "$(start a)" = "$t/a/.local/share/quorvel/quorvel" ] || fail "first start"
same "$t/a/.local/share/quorvel"

# An upgrade replaces the program and help.txt, never the user's data.
mine=$t/a/.local/share/quorvel
printf '"Feet",0.3048\r\n"Meters",1\r\n' >"$mine/Length.txt"
echo '"Length"' >"$mine/conversion.txt"
cp "$mine/Length.txt" "$mine/conversion.txt" "$t"
program 2
echo help 2 >"$lib/help.txt"
printf '"Meters",1\r\n"Miles",1609.344\r\n' >"$lib/Length.txt"
start a >/dev/null
for file in quorvel help.txt; do cmp "$lib/$file" "$mine/$file" || fail "upgrade"; done
for file in Length.txt conversion.txt; do cmp "$t/$file" "$mine/$file" || fail "user data"; done

[ "$(XDG_DATA_HOME=$t/x start b)" = "$t/x/quorvel/quorvel" ] || fail "XDG_DATA_HOME"
[ "$(XDG_DATA_HOME=x start b)" = "$t/b/.local/share/quorvel/quorvel" ] || fail "relative XDG_DATA_HOME"

# Starts that race for a new folder all start it, and leave it whole.
for i in 1 2 3 4 5 6 7 8; do start c >"$t/race$i" & done
wait
[ "$(sort -u "$t"/race*)" = "$t/c/.local/share/quorvel/quorvel" ] || fail "racing starts"
same "$t/c/.local/share/quorvel"

# A home folder that cannot take the folder: the installed program starts.
if [ "$(id -u)" -ne 0 ]; then
    mkdir -m 555 "$t/ro"
    [ "$(start ro)" = "$lib/quorvel" ] && grep -q "Permission denied" "$t/err" || fail "read-only home"
    chmod 755 "$t/ro"
elif command -v unshare >/dev/null && unshare -m true 2>/dev/null; then
    mkdir "$t/ro" "$t/full"
    for how in "--bind -o ro $t/ro $t/ro" "-t tmpfs -o size=16k tmpfs $t/full"; do
        home=${how##*/}
        [ "$(HOME=$t/$home unshare -m sh -c "mount $how && \"$t/usr/bin/quorvel\"" 2>"$t/err")" = "$lib/quorvel" ] &&
            grep -q "cannot set up the application folder $t/$home" "$t/err" || fail "$home home"
    done
else
    echo "read-only and full home folders not tried: no private mount here"
fi
echo passed
