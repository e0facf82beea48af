#!/usr/bin/env bash
# The single-instance lock with two users on one machine and no session folder: the current user
# (root) and `nobody`, through setpriv, sharing one sticky temporary folder. Each user runs one
# copy of their own; neither can shut the other out, and a link planted by one is never followed by
# the other. Needs root to act as the second user; skipped (status 77) otherwise.
# usage: lock_users_e2e.sh LOCK-PROBE
set -uo pipefail

probe=$1
failures=0
if [[ $(id -u) -ne 0 ]] || ! setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    echo "skipped: acting as a second user needs root and setpriv"
    exit 77
fi

shared=$(mktemp -d)
chmod 1777 "$shared"
holder_pid=""
cleanup() {
    [[ -n $holder_pid ]] && kill "$holder_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$shared"
}
trap cleanup EXIT

export TMPDIR=$shared
unset XDG_RUNTIME_DIR
# The probe lies in the build tree; the second user runs a copy of it from the shared folder.
cp "$probe" "$shared/lock-probe"
chmod 755 "$shared/lock-probe"

check() {  # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}
as_root() { "$shared/lock-probe" QV-E2E </dev/null; }
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$shared/lock-probe" QV-E2E </dev/null; }
said() { grep -q -- "$1" <<<"$2"; }

# A copy of root's that has come and gone leaves its lock file behind; nobody's copy still starts.
out=$(as_root)
check "root's copy starts ($out)" test "$out" = acquired
out=$(as_nobody)
check "then nobody's copy starts too ($out)" test "$out" = acquired

# While root's copy runs, nobody's copy still starts, and a second copy of root's does not.
mkfifo "$shared/hold"
"$shared/lock-probe" QV-E2E <"$shared/hold" >"$shared/holder.out" &
holder_pid=$!
exec 6>"$shared/hold"
for _ in $(seq 100); do [[ -s $shared/holder.out ]] && break; sleep 0.05; done
check "root's copy holds the lock ($(cat "$shared/holder.out"))" test "$(cat "$shared/holder.out")" = acquired
out=$(as_nobody)
check "nobody's copy starts while root's runs ($out)" test "$out" = acquired
out=$(as_root)
check "a second copy of root's is refused ($out)" said "another copy is already running" "$out"
exec 6>&-
wait "$holder_pid"
holder_pid=""

# Links planted by nobody where a lock could go: at the lock file of the shared folder itself,
# and in place of root's private folder. Root follows neither, creates nothing and says why.
rm -rf "$shared"/QV-E2E-0 "$shared"/QV-E2E.lock
setpriv --reuid=65534 --regid=65534 --clear-groups ln -s "$shared/made-for-nobody" "$shared/QV-E2E.lock"
out=$(as_root)
check "a planted lock file link does not concern root's copy ($out)" test "$out" = acquired
check "...and its target is not created" test ! -e "$shared/made-for-nobody"
rm -rf "$shared"/QV-E2E-0
setpriv --reuid=65534 --regid=65534 --clear-groups mkdir -m 700 "$shared/nobodys"
setpriv --reuid=65534 --regid=65534 --clear-groups ln -s "$shared/nobodys" "$shared/QV-E2E-0"
out=$(as_root)
check "root refuses a planted folder link with a clear line ($out)" said "cannot use the lock folder $shared/QV-E2E-0: it is not a folder" "$out"
check "...and creates nothing in it" test -z "$(ls -A "$shared/nobodys")"
rm "$shared/QV-E2E-0"
setpriv --reuid=65534 --regid=65534 --clear-groups mkdir -m 700 "$shared/QV-E2E-0"
out=$(as_root)
check "root refuses a folder of nobody's in its place ($out)" said "refusing the lock folder $shared/QV-E2E-0" "$out"

echo "$failures failed"
[[ $failures -eq 0 ]]
