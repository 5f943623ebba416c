#!/usr/bin/env bash
# Builds in Release and makes the Debian package with CPack; checks the
# installed files with the distribution's validators and the package with
# lintian. The package's path is the last line printed.
#   ./scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# The build's packages and what only packaging needs.
./scripts/deps.sh dpkg-dev fakeroot file lintian appstream desktop-file-utils

BUILD=build-package
# The distribution's hardening flags, as its own packages are built.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DORB_BUILD_TESTS=OFF -DORB_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"

# The installed files, as the package holds them, through the validators.
stage="$BUILD/stage"
rm -rf "$stage"
DESTDIR="$PWD/$stage" cmake --install "$BUILD" >/dev/null
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml

(cd "$BUILD" && cpack -G DEB >/dev/null)
deb="$(ls -t "$PWD/$BUILD"/orb5610_*.deb | head -n 1)"
# Errors fail the script; warnings are printed.
lintian --fail-on error "$deb" || { echo "lintian found errors in $deb" >&2; exit 1; }
echo "$deb"
