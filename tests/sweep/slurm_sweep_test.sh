#!/bin/sh
# slurm_sweep_test.sh SWEEP LAB WORK-DIR, run by scripts/private-slurm
#
# vivarix-sweep --slurm against the private single-node cluster SLURM_CONF names.
# The Slurm sweep must give the runs.csv and summary.csv of the same sweep run
# here by GNU parallel; a run that fails and a task that dies are named, and the
# same command again resubmits only their runs; --no-wait and --gather give the
# same results; a vivarix-lab of another version on the nodes is refused.
set -u
sweep=$1
lab=$2
work=$3

fail() {
  echo "FAIL: $*"
  exit 1
}

for program in sbatch squeue scancel parallel; do
  command -v $program >/dev/null 2>&1 || fail "$program is missing (scripts/install-deps installs it)"
done
rm -rf "$work"
mkdir -p "$work" || fail "cannot create $work"
work=$(cd "$work" && pwd)
host=$(hostname)

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

echo "Slurm sweeps on a private cluster gave the results of the same sweep here"
rm -rf "$work"
