#!/bin/sh
# ssh_sweep_test.sh SWEEP LAB WORK-DIR
#
# vivarix-sweep across machines: two "hosts" in an ssh login file, both an sshd of
# this test's own on the loopback address (its own config, host key, authorized key
# and port, all in WORK-DIR), whose sessions have LAB's folder on their PATH.  The
# sweep over ssh must give the runs.csv of the same sweep run here, and both hosts
# must have run runs.  The user's ~/.ssh is never read or written (ssh -F, its own
# known_hosts; HOME in WORK-DIR for GNU parallel).  Works as root and as an ordinary
# user, without input; fails and says why when sshd cannot run; always stops sshd.
set -u
sweep=$1
lab=$2
work=$3
sshd=/usr/sbin/sshd

fail() {
  echo "FAIL: $*"
  [ -s "$work/sshd.log" ] && sed 's/^/sshd: /' "$work/sshd.log"
  exit 1
}

[ -x "$sshd" ] || fail "$sshd is missing: install openssh-server (scripts/install-deps)"
for program in ssh ssh-keygen parallel; do
  command -v $program >/dev/null 2>&1 || fail "$program is missing (scripts/install-deps installs it)"
done
rm -rf "$work"
mkdir -p "$work/home" || fail "cannot create $work"
work=$(cd "$work" && pwd)
labdir=$(cd "$(dirname "$lab")" && pwd)
user=$(id -un)

pid=""
made_privsep=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$made_privsep" ] && rmdir /run/sshd' EXIT
trap 'exit 1' INT TERM HUP
# sshd started by root insists on its privilege separation directory, which the
# ssh service would create; a machine that never ran it may lack it.
if [ "$(id -u)" -eq 0 ] && [ ! -d /run/sshd ]; then
  install -d -m 0755 /run/sshd || fail "cannot create /run/sshd, which sshd needs when started by root"
  made_privsep=1
fi

for key in host user; do
  ssh-keygen -q -t ed25519 -N '' -C "vivarix test $key" -f "$work/${key}_key" </dev/null || fail "ssh-keygen"
done
cp "$work/user_key.pub" "$work/authorized_keys"
# StrictModes off: the parents of the temporary folder may be writable by others.
# UsePAM off: an sshd that is not root cannot use PAM, and nothing here needs it.
cat >"$work/sshd_config" <<EOF
ListenAddress 127.0.0.1
HostKey "$work/host_key"
PidFile "$work/sshd.pid"
AuthorizedKeysFile "$work/authorized_keys"
AllowUsers $user
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
SetEnv PATH=$labdir:/usr/local/bin:/usr/bin:/bin
EOF

# A port of its own: the first free one from a start that differs between runs.
port=$((20000 + $$ % 20000))
for try in $(seq 10); do
  port=$((port + 97))
  cat >"$work/ssh_config" <<EOF
Host vivarix-a vivarix-b
  HostName 127.0.0.1
  Port $port
  User $user
  IdentityFile "$work/user_key"
  IdentitiesOnly yes
  BatchMode yes
  StrictHostKeyChecking no
  UserKnownHostsFile "$work/known_hosts"
  GlobalKnownHostsFile /dev/null
  LogLevel ERROR
  ConnectTimeout 10
EOF
  "$sshd" -D -e -f "$work/sshd_config" -p "$port" </dev/null >"$work/sshd.log" 2>&1 &
  pid=$!
  for i in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    ssh -F "$work/ssh_config" vivarix-a true </dev/null 2>"$work/ssh.err" && break 2
    sleep 0.2
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=""
  grep -q "Address already in use" "$work/sshd.log" || fail "sshd could not run here: $(cat "$work/ssh.err")"
done
[ -n "$pid" ] || fail "no free port for sshd"
[ "$(ssh -F "$work/ssh_config" vivarix-b 'command -v vivarix-lab' </dev/null)" = "$labdir/vivarix-lab" ] ||
  fail "the sessions of the test's sshd do not find $labdir/vivarix-lab on their PATH"

printf '1/ssh -F %s vivarix-a\n1/ssh -F %s vivarix-b\n' "$work/ssh_config" "$work/ssh_config" >"$work/hosts"
set -- --seeds 1-3 --ticks 300 --every 100 --auto 5,20 --scatter 0:0:20
HOME=$work/home "$sweep" --out "$work/remote" --hosts "$work/hosts" "$@" </dev/null ||
  fail "the sweep over ssh exited with $?"
HOME=$work/home "$sweep" --out "$work/local" --lab "$lab" "$@" </dev/null || fail "the sweep here exited with $?"
cmp "$work/remote/runs.csv" "$work/local/runs.csv" || fail "runs.csv over ssh differs from the one made here"
[ "$(wc -l <"$work/remote/runs.csv")" -eq 19 ] || fail "runs.csv has not 1 + 6 runs x 3 lines"
for host in vivarix-a vivarix-b; do
  grep -q "	ssh -F $work/ssh_config $host	" "$work/remote/joblog" || fail "$host ran no run"
done
echo "a sweep over ssh to two loopback hosts (port $port) gave the runs.csv of the same sweep here"
rm -rf "$work"
