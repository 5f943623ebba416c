#!/usr/bin/env bash
# Installs the build into a staging folder for the /usr prefix and checks
# the file list and what the installed files promise each other.
#   installed_files.sh BUILD_DIR EXPECTED_LIST
set -euo pipefail
build=$1
expected=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

if ! diff -u "$expected" <(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); then
  fail "installed files differ from $expected (- expected, + installed)"
fi
for exe in usr/bin/orb5610 usr/bin/orb5610ctl; do
  [ -x "$stage/$exe" ] || fail "$exe is not executable"
done

rule="$stage/usr/lib/udev/rules.d/70-orb5610.rules"
grep -Eq '^KERNEL=="hidraw\*", ATTRS\{idVendor\}=="[0-9a-f]{4}", ATTRS\{idProduct\}=="08a0", ATTRS\{bcdDevice\}=="0104", TAG\+="uaccess"$' \
  "$rule" || fail "the udev rule does not tag the mouse's hidraw nodes for the logged-in user"

# The desktop entry's id, icon and launcher agree with the metadata and the icon files.
desktop=$(cd "$stage/usr/share/applications" && ls *.desktop)
id=${desktop%.desktop}
grep -qx "Icon=$id" "$stage/usr/share/applications/$desktop" || fail "desktop entry icon is not $id"
grep -qx "Exec=orb5610" "$stage/usr/share/applications/$desktop" || fail "desktop entry does not start orb5610"
icons=$(ls "$stage"/usr/share/icons/hicolor/*/apps/"$id".png | wc -l)
((icons >= 2)) || fail "fewer than two icon sizes for $id"
for png in "$stage"/usr/share/icons/hicolor/*/apps/"$id".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  # Width and height from the PNG header: the folder names the size.
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print ($3*256+$4) "x" ($7*256+$8)}')
  [ "$dims" = "$size" ] || fail "$png is $dims, not $size"
done
meta="$stage/usr/share/metainfo/$id.metainfo.xml"
grep -q "<id>$id</id>" "$meta" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$desktop</launchable>" "$meta" || fail "metainfo does not launch $desktop"
vendor=$(sed -n 's/.*idVendor}=="\([0-9a-f]*\)".*/\1/p' "$rule" | tr a-f A-F)
grep -q "<modalias>usb:v${vendor}p08A0d0104\*</modalias>" "$meta" || fail "metainfo modalias is not the rule's mouse"

for page in orb5610 orb5610ctl; do
  gzip -t "$stage/usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not a gzip file"
done
bash -n "$stage/usr/share/bash-completion/completions/orb5610ctl" || fail "the completion is not valid bash"
exit $status
