#!/bin/sh
# check_install.sh CMAKE BUILD-DIR ROOT
#
# Installs BUILD-DIR with `CMAKE --install --prefix /usr` and DESTDIR=ROOT (emptied
# first) and checks the installed tree: every file in place, the icons PNG files of
# their directory's size, the manual pages and the changelog compressed as Debian
# asks, the desktop entry, the metainfo and the manual pages clean under
# desktop-file-validate, appstreamcli and groff, the session type well formed
# (xmllint) and taken by update-mime-database by its name and its first line,
# vivarix-lab and vivarix-sweep running, and the three programs telling the same
# version without a display.  Prints every problem it finds and exits 1 if there was
# one.
set -u
cmake=$1
build=$2
root=$3
usr=$root/usr
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

rm -rf "$root"
if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$root.log" 2>&1; then
  cat "$root.log"
  echo "FAIL: cmake --install"
  exit 1
fi

# Installing under DESTDIR must not leave anything outside /usr.
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "installed outside /usr: $outside"

for program in vivarix vivarix-lab vivarix-sweep; do
  [ -f "$usr/bin/$program" ] && [ -x "$usr/bin/$program" ] || fail "no executable usr/bin/$program"
done

desktop=$usr/share/applications/vivarix.desktop
metainfo=$usr/share/metainfo/io.github.vivarix.Vivarix.metainfo.xml
pages="$usr/share/man/man1/vivarix.1.gz $usr/share/man/man1/vivarix-lab.1.gz $usr/share/man/man1/vivarix-sweep.1.gz"
copyright=$usr/share/doc/vivarix/copyright
changelog=$usr/share/doc/vivarix/changelog.gz
mimetype=$usr/share/mime/packages/vivarix-session.xml
for file in "$desktop" "$metainfo" $pages "$copyright" "$changelog" "$mimetype"; do
  [ -f "$file" ] || fail "missing ${file#"$root"/}"
done

# Bytes 0-7 are the PNG signature, 12-15 "IHDR", 16-23 width and height (big
# endian); byte 24 the bit depth, 25 the colour type (6: RGBA).
for size in 16 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/vivarix.png
  if [ ! -f "$icon" ]; then
    fail "missing ${icon#"$root"/}"
    continue
  fi
  header=$(od -An -tu1 -N26 "$icon" | tr -s ' \n' '  ')
  set -- $header
  if [ "$1 $2 $3 $4 $5 $6 $7 $8" != "137 80 78 71 13 10 26 10" ] || [ "${13} ${14} ${15} ${16}" != "73 72 68 82" ]; then
    fail "${icon#"$root"/} is not a PNG file"
    continue
  fi
  width=$(( ${17} * 16777216 + ${18} * 65536 + ${19} * 256 + ${20} ))
  height=$(( ${21} * 16777216 + ${22} * 65536 + ${23} * 256 + ${24} ))
  [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] ||
    fail "${icon#"$root"/} is $width x $height pixels"
  [ "${25} ${26}" = "8 6" ] || fail "${icon#"$root"/} is not 8-bit RGBA (depth ${25}, colour type ${26})"
done

# desktop-file-validate exits 0 on warnings; only its hints are accepted here.
if [ -f "$desktop" ]; then
  report=$(desktop-file-validate "$desktop" 2>&1)
  status=$?
  [ -n "$report" ] && echo "$report"
  if [ $status -ne 0 ] || echo "$report" | grep -Eq ': (error|warning): '; then
    fail "desktop-file-validate"
  fi
  grep -qx 'Exec=vivarix %f' "$desktop" || fail "the desktop entry does not start vivarix with the file"
  grep -qx 'MimeType=application/x-vivarix-session;' "$desktop" || fail "the desktop entry opens no sessions"
  grep -qx 'Icon=vivarix' "$desktop" || fail "the desktop entry does not name the vivarix icon"
fi

# The session type: a cache built from the installed package alone must know
# *.vxs files and a first line "vivarix-session ".
if [ -f "$mimetype" ]; then
  xmllint --noout "$mimetype" || fail "xmllint ${mimetype##*/}"
  share=$root.share
  cache=$share/mime
  rm -rf "$share" && mkdir -p "$cache" && cp -r "$usr/share/mime/packages" "$cache/"
  report=$(XDG_DATA_DIRS=$share update-mime-database "$cache" 2>&1)
  [ -z "$report" ] || fail "update-mime-database: $report"
  grep -q '^[0-9]*:application/x-vivarix-session:\*\.vxs$' "$cache/globs2" ||
    fail "the MIME cache has no *.vxs glob for application/x-vivarix-session"
  grep -aq 'vivarix-session ' "$cache/magic" || fail "the MIME cache does not know the journal's first line"
  rm -rf "$share"
fi

# validate-tree checks the metainfo and that the desktop entry it launches is
# installed beside it; --strict fails on every issue but the pedantic ones.
if [ -f "$metainfo" ]; then
  appstreamcli validate-tree --no-net --strict "$root" || fail "appstreamcli validate-tree"
fi

# The package is MIT licensed: the metainfo says so, and so does the Debian
# copyright file in machine-readable form.
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo names no MIT project license"
if [ -f "$copyright" ]; then
  head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in Debian's machine-readable format"
  grep -qx 'License: Expat' "$copyright" || fail "the copyright file names no Expat (MIT) license"
fi

# gzip -9n: bytes 0-1 the gzip signature, 3 the flags (0: no file name stored), 4-7
# the time (0: none), 8 the extra flags (2: the most compression).
for file in $pages "$changelog"; do
  [ -f "$file" ] || continue
  set -- $(od -An -tu1 -N9 "$file")
  [ "$1 $2 $4 $5 $6 $7 $8 $9" = "31 139 0 0 0 0 0 2" ] ||
    fail "${file#"$root"/} is not compressed with gzip -9n (header $*)"
  gzip -t "$file" || fail "${file#"$root"/} is not a whole gzip file"
done

# groff reports every warning on stderr; a clean page prints nothing there.
for page in $pages; do
  [ -f "$page" ] || continue
  report=$(gzip -dc "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ $? -eq 0 ] && [ -z "$report" ] || fail "groff warns about ${page##*/}: $report"
done

# The installed vivarix-lab runs from its new place.
if [ -x "$usr/bin/vivarix-lab" ]; then
  usage=$("$usr/bin/vivarix-lab" --help) || fail "vivarix-lab --help exits with $?"
  case $usage in
    "usage: vivarix-lab "*) ;;
    *) fail "vivarix-lab --help prints: $usage" ;;
  esac
  lines=$("$usr/bin/vivarix-lab" --seed 1 --ticks 10 --every 5 | wc -l)
  [ "$lines" -eq 3 ] || fail "vivarix-lab --seed 1 --ticks 10 --every 5 printed $lines lines, not 3"
fi
if [ -x "$usr/bin/vivarix-sweep" ]; then
  usage=$("$usr/bin/vivarix-sweep" --help) || fail "vivarix-sweep --help exits with $?"
  case $usage in
    "usage: vivarix-sweep "*) ;;
    *) fail "vivarix-sweep --help prints: $usage" ;;
  esac
fi

# Every program says its version in the same form, without a display.
version=""
for program in vivarix vivarix-lab vivarix-sweep; do
  [ -x "$usr/bin/$program" ] || continue
  line=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/$program" --version) ||
    fail "$program --version exits with $?"
  case $line in
    "$program "?*) ;;
    *) fail "$program --version prints: $line" ;;
  esac
  [ -z "$version" ] || [ "${line#"$program "}" = "$version" ] || fail "$program is ${line#"$program "}, not $version"
  version=${line#"$program "}
done
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/vivarix" --help >/dev/null ||
  fail "vivarix --help without a display exits with $?"

[ $failures -eq 0 ] || exit 1
echo "installed tree under $root checked"
