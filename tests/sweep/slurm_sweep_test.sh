#!/bin/sh
# slurm_sweep_test.sh SWEEP LAB WORK-DIR
#
# vivarix-sweep --slurm against a private single-node Slurm cluster of the test's
# own: munged on a socket and key of its own, slurmctld and slurmd on free ports,
# every file in WORK-DIR.  The Slurm sweep must give the runs.csv and summary.csv
# of the same sweep run here by GNU parallel; a run that fails and a task that
# dies are named, and the same command again resubmits only their runs; --no-wait
# and --gather give the same results; a vivarix-lab of another version on the
# nodes is refused.  Needs root (slurmd starts the jobs); never waits for input;
# stops the daemons by their process ids however it ends.
set -u
sweep=$1
lab=$2
work=$3

fail() {
  echo "FAIL: $*"
  for log in "$work"/log/*; do
    [ -s "$log" ] && tail -n 20 "$log" | sed "s|^|${log##*/}: |"
  done
  exit 1
}

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the private Slurm cluster needs root, as slurmd starts the jobs"
  exit 77
fi
for daemon in munged slurmctld slurmd; do
  [ -x "/usr/sbin/$daemon" ] || fail "/usr/sbin/$daemon is missing: install munge and slurm-wlm (scripts/install-deps)"
done
for program in sbatch squeue scancel sinfo parallel; do
  command -v $program >/dev/null 2>&1 || fail "$program is missing (scripts/install-deps installs it)"
done
rm -rf "$work"
mkdir -p "$work/munge" "$work/state" "$work/spool" "$work/log" || fail "cannot create $work"
work=$(cd "$work" && pwd)
chmod 700 "$work/munge"
export SLURM_CONF="$work/slurm.conf"

pids=""
stop() {
  [ -n "$pids" ] && timeout 10 scancel --user="$(id -un)" >/dev/null 2>&1
  for pid in $pids; do kill "$pid" 2>/dev/null; done
  for pid in $pids; do wait "$pid" 2>/dev/null; done
}
trap stop EXIT
trap 'exit 1' INT TERM HUP

dd if=/dev/urandom of="$work/munge/key" bs=1024 count=1 2>/dev/null && chmod 400 "$work/munge/key" ||
  fail "cannot make a munge key"
/usr/sbin/munged --foreground --force --socket="$work/munge/socket" --key-file="$work/munge/key" \
  --pid-file="$work/munge/pid" --seed-file="$work/munge/seed" --log-file="$work/log/munged.log" \
  </dev/null >"$work/log/munged.out" 2>&1 &
pids=$!
for i in $(seq 50); do [ -S "$work/munge/socket" ] && break; sleep 0.1; done
[ -S "$work/munge/socket" ] || fail "munged did not start"

# Ports of its own: the first free pair from a start that differs between runs.
host=$(hostname -s)
port=$((20000 + $$ % 20000))
up=""
for try in $(seq 10); do
  port=$((port + 97))
  cat >"$SLURM_CONF" <<EOF
ClusterName=vivarixtest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$work/munge/socket
CredType=cred/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
MailProg=/bin/true
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
  /usr/sbin/slurmctld -D -f "$SLURM_CONF" </dev/null >"$work/log/slurmctld.out" 2>&1 &
  ctld=$!
  /usr/sbin/slurmd -D -f "$SLURM_CONF" </dev/null >"$work/log/slurmd.out" 2>&1 &
  slurmd=$!
  pids="$pids $ctld $slurmd"
  for i in $(seq 100); do
    kill -0 "$ctld" 2>/dev/null && kill -0 "$slurmd" 2>/dev/null || break
    [ "$(sinfo --noheader --format=%t 2>/dev/null)" = idle ] && up=1 && break 2
    sleep 0.2
  done
  kill "$ctld" "$slurmd" 2>/dev/null
  wait "$ctld" "$slurmd" 2>/dev/null
  pids=${pids%" $ctld $slurmd"}
  grep -q "Address already in use" "$work/log/slurmctld.log" "$work/log/slurmd.log" 2>/dev/null ||
    fail "the Slurm cluster did not come up"
done
[ -n "$up" ] || fail "no free ports for slurmctld and slurmd"

set -- --seeds 1-3 --ticks 600 --every 300 --auto 5,20 --scatter 0:0:30
"$sweep" --out "$work/local" --lab "$lab" "$@" </dev/null >/dev/null || fail "the sweep here exited with $?"
same() {
  for file in runs.csv summary.csv; do
    cmp "$work/$1/$file" "$work/local/$file" || fail "$1/$file differs from the one GNU parallel made"
  done
}

"$sweep" --out "$work/slurm" --slurm --lab "$lab" --runs-per-task 4 "$@" </dev/null >/dev/null ||
  fail "the Slurm sweep exited with $?"
same slurm
[ "$(wc -l <"$work/slurm/slurm/jobs")" -eq 1 ] || fail "the Slurm sweep did not run as one job"
grep -q '"slurm": {"jobs": \["[0-9]*"\]' "$work/slurm/sweep.json" || fail "sweep.json names no Slurm job"

# Seed 2 fails while broken exists; seed 3 kills its task (the parent of the
# shell that starts it) while dead exists.
cat >"$work/flaky-lab" <<EOF
#!/bin/sh
case " \$* " in
  *" --seed 2 "*) [ -e "$work/broken" ] && { echo 'out of luck' >&2; exit 3; } ;;
  *" --seed 3 "*) [ -e "$work/dead" ] && kill -KILL "\$(cut -d' ' -f4 /proc/\$PPID/stat)" \$PPID && exit 9 ;;
esac
exec "$lab" "\$@"
EOF
chmod +x "$work/flaky-lab"
touch "$work/broken" "$work/dead"
"$sweep" --out "$work/flaky" --slurm --lab "$work/flaky-lab" --runs-per-task 1 "$@" </dev/null >/dev/null \
  2>"$work/flaky.err"
[ $? -eq 1 ] || fail "a Slurm sweep with failed runs did not exit with 1: $(cat "$work/flaky.err")"
grep -q "^vivarix-sweep: run 2 (--auto 5 --seed 2) failed on $host with exit status 3: out of luck$" \
  "$work/flaky.err" || fail "the failed run is not named: $(cat "$work/flaky.err")"
grep -q "^vivarix-sweep: run 6 (--auto 20 --seed 3) did not finish in Slurm task [0-9]*_6 " "$work/flaky.err" ||
  fail "the dead task is not named: $(cat "$work/flaky.err")"
rm "$work/broken" "$work/dead"
"$sweep" --out "$work/flaky" --slurm --lab "$work/flaky-lab" --runs-per-task 1 "$@" </dev/null >/dev/null ||
  fail "the same command again exited with $?"
same flaky
[ "$(cat "$work/flaky/slurm/2.runs" | tr '\n' ' ')" = "2 3 5 6 " ] ||
  fail "the second job ran runs $(cat "$work/flaky/slurm/2.runs" | tr '\n' ' '), not only the four unfinished"

"$sweep" --out "$work/later" --slurm --no-wait --lab "$lab" "$@" </dev/null >"$work/later.out" ||
  fail "--no-wait exited with $?"
grep -q "submitted" "$work/later.out" || fail "--no-wait said: $(cat "$work/later.out")"
for i in $(seq 300); do
  [ -z "$(squeue --noheader)" ] && break
  sleep 0.2
done
"$sweep" --gather "$work/later" </dev/null >/dev/null || fail "--gather exited with $?"
same later

printf '#!/bin/sh\necho "vivarix-lab 0.3"\n' >"$work/old-lab"
chmod +x "$work/old-lab"
"$sweep" --out "$work/old" --slurm --lab "$work/old-lab" "$@" </dev/null 2>"$work/old.err" >/dev/null
[ $? -eq 2 ] || fail "a lab of another version on the nodes was not refused"
grep -q "says vivarix-lab 0.3, not vivarix-lab " "$work/old.err" || fail "the refusal says: $(cat "$work/old.err")"
[ ! -e "$work/old/slurm/jobs" ] || fail "runs were submitted with a lab of another version"

echo "Slurm sweeps on a private cluster (ports $port, $((port + 1))) gave the results of the same sweep here"
stop
pids=""
rm -rf "$work"
