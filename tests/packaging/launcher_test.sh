#!/bin/sh
# bin/quorvel with a stand-in program that prints the path it ran as: starts
# that race for a new folder, and a home folder that cannot take one (an
# ordinary user's, as root passes every permission test).
set -eu
t=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAILED: $*" >&2 && exit 1; }
mkdir -p "$t/bin" "$t/lib/quorvel" "$t/ro"
cp "$1" "$t/bin/quorvel"
printf '#!/bin/sh\necho "$0"\n' >"$t/lib/quorvel/quorvel"
chmod 755 "$t" "$t/bin/quorvel" "$t/lib/quorvel/quorvel"
for name in conversion help Length Time; do echo "$name" >"$t/lib/quorvel/$name.txt"; done

for i in 1 2 3 4 5 6 7 8; do XDG_DATA_HOME=$t/x "$t/bin/quorvel" >"$t/race$i" & done
wait
[ "$(sort -u "$t"/race*)" = "$t/x/quorvel/quorvel" ] || fail "racing starts"
diff -r "$t/lib/quorvel" "$t/x/quorvel" || fail "racing starts left another folder"

chmod 555 "$t/ro"
user=
[ "$(id -u)" -ne 0 ] || user="setpriv --reuid=65534 --regid=65534 --clear-groups"
[ "$(HOME=$t/ro XDG_DATA_HOME=relative $user "$t/bin/quorvel" 2>"$t/err")" = "$t/lib/quorvel/quorvel" ] ||
    fail "read-only home"
grep "cannot set up the application folder $t/ro/.local/share/quorvel: " "$t/err" || fail "no reason"
