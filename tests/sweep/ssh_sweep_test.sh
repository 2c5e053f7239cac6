#!/bin/sh
# ssh_sweep_test.sh SWEEP LAB WORK-DIR
#
# vivarix-sweep across machines: two "hosts" in an ssh login file, both of them an
# sshd of this test's own on the loopback address (its own config, host key,
# authorized key and port, in WORK-DIR), which puts LAB's folder on the PATH of its
# sessions.  The sweep over ssh must give the same runs.csv as the same sweep run
# here, and both hosts must have run some of the runs.  The user's ~/.ssh is never
# read or written (ssh -F, its own known_hosts; HOME points into WORK-DIR for
# GNU parallel).  Works as root and as an ordinary user; without a usable sshd it
# fails and says why.  The sshd is stopped on every way out.
set -u
sweep=$1
lab=$2
work=$3
sshd=/usr/sbin/sshd

fail() {
  echo "FAIL: $*"
  [ -f "$work/sshd.log" ] && sed 's/^/sshd: /' "$work/sshd.log"
  exit 1
}

[ -x "$sshd" ] || fail "$sshd is missing: install openssh-server (scripts/install-deps)"
command -v ssh >/dev/null 2>&1 || fail "ssh is missing: install openssh-client (scripts/install-deps)"
command -v parallel >/dev/null 2>&1 || fail "parallel is missing: install parallel (scripts/install-deps)"

rm -rf "$work"
mkdir -p "$work/home" || fail "cannot create $work"
work=$(cd "$work" && pwd)
labdir=$(cd "$(dirname "$lab")" && pwd)
user=$(id -un)

sshd_pid=""
made_privsep=""
cleanup() {
  [ -n "$sshd_pid" ] && kill "$sshd_pid" 2>/dev/null && wait "$sshd_pid" 2>/dev/null
  [ -n "$made_privsep" ] && rmdir /run/sshd 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# sshd started by root insists on its privilege separation directory, which a
# machine without a running ssh service may lack; its own service would create it.
if [ "$(id -u)" -eq 0 ] && [ ! -d /run/sshd ]; then
  install -d -m 0755 /run/sshd || fail "cannot create /run/sshd, which sshd needs when started by root"
  made_privsep=1
fi

ssh-keygen -q -t ed25519 -N '' -C vivarix-test-host -f "$work/host_key" </dev/null || fail "ssh-keygen"
ssh-keygen -q -t ed25519 -N '' -C vivarix-test-user -f "$work/user_key" </dev/null || fail "ssh-keygen"
cp "$work/user_key.pub" "$work/authorized_keys"

# StrictModes off: the temporary folder's parents may be writable by others.
# UsePAM off: an sshd that is not root cannot use PAM, and needs nothing of it here.
cat >"$work/sshd_config" <<CONFIG
ListenAddress 127.0.0.1
HostKey "$work/host_key"
PidFile "$work/sshd.pid"
AuthorizedKeysFile "$work/authorized_keys"
AllowUsers $user
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
SetEnv PATH=$labdir:/usr/local/bin:/usr/bin:/bin
CONFIG

# A port of its own: the first free one from a start that differs between runs.
port=""
try=0
start=$((20000 + $$ % 20000))
while [ $try -lt 20 ] && [ -z "$port" ]; do
  candidate=$((start + try * 97))
  try=$((try + 1))
  cat >"$work/ssh_config" <<CONFIG
Host vivarix-a vivarix-b
  HostName 127.0.0.1
  Port $candidate
  User $user
  IdentityFile "$work/user_key"
  IdentitiesOnly yes
  BatchMode yes
  StrictHostKeyChecking no
  UserKnownHostsFile "$work/known_hosts"
  GlobalKnownHostsFile /dev/null
  LogLevel ERROR
  ConnectTimeout 10
CONFIG
  "$sshd" -D -e -f "$work/sshd_config" -p "$candidate" </dev/null >"$work/sshd.log" 2>&1 &
  sshd_pid=$!
  waited=0
  while [ $waited -lt 50 ]; do
    if ! kill -0 "$sshd_pid" 2>/dev/null; then
      wait "$sshd_pid" 2>/dev/null
      sshd_pid=""
      grep -q "Address already in use" "$work/sshd.log" && break
      fail "sshd could not run here"
    fi
    if ssh -F "$work/ssh_config" vivarix-a true </dev/null 2>"$work/ssh.err"; then
      port=$candidate
      break
    fi
    sleep 0.2
    waited=$((waited + 1))
  done
  if [ -z "$port" ] && [ -n "$sshd_pid" ]; then
    cat "$work/ssh.err"
    fail "no ssh login to the test's sshd on port $candidate"
  fi
done
[ -n "$port" ] || fail "no free port for sshd"

remote_lab=$(ssh -F "$work/ssh_config" vivarix-b 'command -v vivarix-lab' </dev/null)
[ "$remote_lab" = "$labdir/vivarix-lab" ] || fail "vivarix-lab on the remote PATH is '$remote_lab', not $labdir/vivarix-lab"

cat >"$work/hosts" <<HOSTS
1/ssh -F $work/ssh_config vivarix-a
1/ssh -F $work/ssh_config vivarix-b
HOSTS

set -- --seeds 1-3 --ticks 300 --every 100 --auto 5,20 --scatter 0:0:20
HOME=$work/home "$sweep" --out "$work/remote" --hosts "$work/hosts" "$@" </dev/null ||
  fail "the sweep over ssh exited with $?"
HOME=$work/home "$sweep" --out "$work/local" --lab "$lab" "$@" </dev/null ||
  fail "the sweep on this machine exited with $?"

cmp "$work/remote/runs.csv" "$work/local/runs.csv" || fail "runs.csv over ssh differs from the local one"
[ "$(wc -l <"$work/remote/runs.csv")" -eq 19 ] || fail "runs.csv has not 1 + 6 runs x 3 lines"
for host in vivarix-a vivarix-b; do
  grep -q "	ssh -F $work/ssh_config $host	" "$work/remote/joblog" || fail "$host ran no run"
done
rm -rf "$work"
echo "a sweep over ssh to two loopback hosts (port $port) matched the local one"
