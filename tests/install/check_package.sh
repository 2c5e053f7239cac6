#!/bin/sh
# check_package.sh CPACK CPACK-CONFIG SCRATCH
#
# Makes the Debian package of the build as `make package` does (CPACK with the
# build's CPACK-CONFIG), but into SCRATCH (emptied first) so that the build
# directory is left as it was, and runs lintian on it.  Prints lintian's report
# and exits 1 when the package cannot be made or checked, or when lintian reports
# an error (E:) or a warning (W:).
set -u
cpack=$1
config=$2
scratch=$3

rm -rf "$scratch"
mkdir -p "$scratch"
if ! "$cpack" -G DEB --config "$config" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
set -- "$scratch"/*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "FAIL: cpack made no single .deb in $scratch: $*"
  exit 1
fi
deb=$1

if ! command -v lintian >/dev/null 2>&1; then
  echo "FAIL: lintian is not installed (scripts/install-deps all installs it)"
  exit 1
fi
# Exit status 1 is lintian's own failure (a package it cannot read); 2 that it
# reports a tag of the kinds --fail-on names.
report=$(lintian --fail-on error,warning "$deb" 2>&1)
status=$?
[ -n "$report" ] && echo "$report"
if [ $status -ne 0 ] && [ $status -ne 2 ]; then
  echo "FAIL: lintian could not check ${deb##*/} (exit status $status)"
  exit 1
fi
if [ $status -eq 2 ] || echo "$report" | grep -Eq '^[EW]: '; then
  echo "FAIL: lintian reports errors or warnings for ${deb##*/}"
  exit 1
fi
echo "lintian: ${deb##*/} has no error and no warning"
