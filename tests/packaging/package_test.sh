#!/usr/bin/env bash
# The Debian package as `cpack -G DEB` makes it, read back with dpkg-deb:
# what it holds, its conffile and what it depends on.
# package_test.sh <cpack> <build folder>
set -euo pipefail
cpack=$1 build=$2
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
"$cpack" -G DEB -B "$work" --config "$build/CPackConfig.cmake" > "$work/cpack.txt" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.txt")"
deb=$(ls "$work"/*.deb)
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/repview ./usr/share/man/man1/{repview,webhop,tabulo,jotwell,sendwell}.1.gz \
            ./etc/zlt/zlt.conf ./usr/share/applications/repview.desktop ./usr/share/zlt/Kelvane.jpg; do
  grep -qx "$path" <<< "$files" || fail "the package lacks $path"
done
[ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)" = /etc/zlt/zlt.conf ] || fail "zlt.conf is no conffile"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libcurl4 libxlsxwriter4 xdg-utils; do
  grep -qE "(^|, )$package( |,|$)" <<< "$depends" || fail "no dependency on $package: $depends"
done
echo "package: all checks passed"
