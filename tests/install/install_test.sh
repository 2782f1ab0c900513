#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the installation as an
# integrator and a user would: the expected files in their places, a C
# program built against it with pkg-config and with find_package, then run,
# and the installed tools run with nothing of the build tree in reach.
#
#   install_test.sh BUILD_DIR SCRATCH_DIR LIBDIR BINDIR INCLUDEDIR MANDIR VERSION C_COMPILER GENERATOR [CFLAGS]
set -euo pipefail
build=$1 scratch=$2 libdir=$3 bindir=$4 includedir=$5 mandir=$6 version=$7 cc=$8 generator=$9
cflags=${10:-}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="$scratch/prefix"

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
  cat "$scratch/install.log" >&2; fail "cmake --install"; }

# The files in their places; the library with its soname and links.
major=${version%%.*}
for file in "$includedir/drovanexis.h" "$libdir/libdrovanexis.so.$version" \
    "$libdir/pkgconfig/drovanexis.pc" "$libdir/cmake/Drovanexis/DrovanexisConfig.cmake" \
    "$bindir/drovanexis" "$bindir/drovanexis-sandbox" \
    "$mandir/man1/drovanexis.1" "$mandir/man1/drovanexis-sandbox.1"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ "$(readlink "$prefix/$libdir/libdrovanexis.so.$major")" = "libdrovanexis.so.$version" ] ||
  fail "libdrovanexis.so.$major does not point to libdrovanexis.so.$version"
[ "$(readlink "$prefix/$libdir/libdrovanexis.so")" = "libdrovanexis.so.$major" ] ||
  fail "libdrovanexis.so does not point to libdrovanexis.so.$major"
soname=$(readelf -d "$prefix/$libdir/libdrovanexis.so.$version" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
[ "$soname" = "libdrovanexis.so.$major" ] || fail "soname is \"$soname\""
grep -q '^\.SH "EXIT STATUS"' "$prefix/$mandir/man1/drovanexis.1" || fail "man page without exit status"

# Nothing installed may look for its libraries in the build tree.
for file in "$prefix/$libdir/libdrovanexis.so.$version" "$prefix/$bindir/drovanexis" \
    "$prefix/$bindir/drovanexis-sandbox"; do
  if readelf -d "$file" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
    fail "$file looks in the build tree: $(readelf -d "$file" | grep -E 'R(UN)?PATH')"
  fi
done

# The tools, run from the installation alone.
[ "$("$prefix/$bindir/drovanexis" --version)" = "drovanexis $version" ] || fail "drovanexis --version"
[ "$("$prefix/$bindir/drovanexis-sandbox" --version)" = "drovanexis-sandbox $version" ] ||
  fail "drovanexis-sandbox --version"

# A C program built against the installation, run in its own folder: it
# answers 801 (no certificate), and the log it leaves names the installed
# library's version.
run_consumer() {
  local program=$1 folder="$scratch/run-$(basename "$1")"
  mkdir -p "$folder"
  out=$(cd "$folder" && "$program") || fail "running $program: $out"
  [ "$out" = "801 801" ] || fail "$program printed \"$out\""
  head -n 1 "$folder/Drovanexis.log" | grep -qF "Drovanexis $version " ||
    fail "$program: the log does not name version $version: $(head -n 1 "$folder/Drovanexis.log")"
}

# pkg-config.
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
[ "$(pkg-config --modversion drovanexis)" = "$version" ] || fail "pkg-config --modversion"
# shellcheck disable=SC2046,SC2086
"$cc" $cflags -Wall -Werror -o "$scratch/consumer-pkg-config" "$here/consumer/consumer.c" \
  $(pkg-config --cflags --libs drovanexis) || fail "building with pkg-config"
LD_LIBRARY_PATH="$prefix/$libdir" run_consumer "$scratch/consumer-pkg-config"

# CMake's find_package; the imported target brings the library's folder into
# the program's run path.
cmake -S "$here/consumer" -B "$scratch/consumer" -G "$generator" -DCMAKE_C_COMPILER="$cc" \
  -DCMAKE_C_FLAGS="$cflags" -DCMAKE_PREFIX_PATH="$prefix" >"$scratch/consumer.log" 2>&1 || {
  cat "$scratch/consumer.log" >&2; fail "configuring with find_package"; }
cmake --build "$scratch/consumer" >>"$scratch/consumer.log" 2>&1 || {
  cat "$scratch/consumer.log" >&2; fail "building with find_package"; }
run_consumer "$scratch/consumer/consumer"

echo "installed into $prefix; both builds ran against version $version"
