#!/usr/bin/env bash
# Makes the Debian package: installs what making it needs, configures a build of its own in
# ./build-package (the program, the store tool and what they install; no tests, no benchmarks)
# with Debian's hardening flags, builds it, makes build-package/mozhou_<version>_<arch>.deb and
# checks the package with lintian.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOZHOU_PACKAGE_BUILD:-$root/build-package}
"$root/scripts/deps.sh" package

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
fi
# The compiler and linker flags of a Debian build (stack protector, fortified functions,
# read-only relocations bound at start). CMake takes them from the environment only when it
# makes its cache, so the cache is made afresh each time; unchanged flags rebuild nothing.
cd "$root"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"
cmake --fresh -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMOZHOU_BUILD_TESTS=OFF -DMOZHOU_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2
rm -f "$build"/mozhou_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/mozhou_*.deb)
echo "package: $package"
lintian --fail-on error,warning "$package"
