#!/usr/bin/env bash
# Checks the Debian package: makes it from a build folder (or takes the .deb
# given), unpacks it and validates what the desktop, the software centres and
# man read, checks that the program's own files are where the installed
# program looks for them, and runs lintian, which must report no errors.
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail
build=${1:?usage: check-package.sh <build folder> [package.deb]}
deb=${2:-}

missing=()
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian man; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ "${#missing[@]}" -ne 0 ]; then
  echo "SKIP: not installed: ${missing[*]} (scripts/install-deps.sh installs them)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$deb" ]; then
  cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; exit 1; }
  deb=$(ls "$work"/out/*.deb)
fi
root="$work/root"
dpkg-deb -x "$deb" "$root"

status=0
fail() { echo "FAIL: $*"; status=1; }

desktop="$root/usr/share/applications/kinemo.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[@]}" || fail "appstreamcli validate ${metainfo[*]}"
manwarnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$root/usr/share/man/man1/kinemo.1.gz" 2>&1 >/dev/null || true)
[ -z "$manwarnings" ] || fail "the manual page: $manwarnings"

# What the launcher, the metainfo and the program itself refer to.
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec" ] || fail "the launcher starts $exec, which is not in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon"
grep -q '<launchable type="desktop-id">kinemo.desktop</launchable>' "${metainfo[@]}" \
  || fail "the metainfo does not name kinemo.desktop"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "${metainfo[@]}")
[ "$(basename "${metainfo[0]}")" = "$id.metainfo.xml" ] || fail "metainfo file is not named $id"
for file in usr/share/kinemo/kinhelp.html usr/share/kinemo/samples/ball_throw.avi \
  usr/share/kinemo/samples/pendulum.avi \
  usr/share/kinemo/samples/cart_collision_elastic.avi \
  usr/share/kinemo/samples/cart_collision_inelastic.avi; do
  [ -s "$root/$file" ] || fail "no /$file"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"
[ "$status" -eq 0 ] && echo "package $(basename "$deb"): checks passed"
exit "$status"
