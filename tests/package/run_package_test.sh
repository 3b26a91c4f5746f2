#!/usr/bin/env bash
# Installs a tessel build into a temporary prefix and uses the install as a user would:
#  - the misuses of tessel_add_resources stop the configuration with CMake's error;
#  - cpack -G DEB packs the same install;
#  - a Windows program (project/) is built with MinGW under each generator present (Ninja,
#    Unix Makefiles): its resources come from a KLX source with strings, a dialog and an icon
#    rendered from an SVG; check_resources.py reads them back from the executable; rebuilds
#    convert the source again after an edit to a file tessel read, and only then.
# Exits with 77 (skipped) when MinGW is missing, after the parts that do not need it.
# Usage: run_package_test.sh <tessel build dir> <cmake> <cpack>
set -euo pipefail
build=$1 cmake=$2 cpack=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs a command with its output in a log file; shows the log when the command fails.
logged() {
  local log=$1
  shift
  local status=0
  "$@" > "$log" 2>&1 || status=$?
  [ $status -eq 0 ] || { cat "$log"; fail "$* (exit code $status)"; }
}

logged "$work/install.log" "$cmake" --install "$build" --prefix "$prefix"
cat "$work/install.log"
for file in bin/tessel share/man/man1/tessel.1; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
config=$(find "$prefix" -name tesselConfig.cmake)
[ -n "$config" ] && [ -f "$(dirname "$config")/tesselConfigVersion.cmake" ] || fail "no CMake package installed"
# The installed program runs, and the package's version is the program's own.
version=$("$prefix/bin/tessel" --version)
grep -qF "PACKAGE_VERSION \"${version#tessel }\"" "$(dirname "$config")/tesselConfigVersion.cmake" ||
  fail "tesselConfigVersion.cmake is not of $version"

# Each misuse must fail at configure time with CMake's error and name what is wrong.
configure_fails() {
  local name=$1 expected=$2 log=$work/errors-$1.log
  if "$cmake" -S "$here/errors" -B "$work/errors-$name" -DCASE="$name" -DCMAKE_PREFIX_PATH="$prefix" \
      > "$log" 2>&1; then
    fail "tessel_add_resources case $name configured"
  fi
  grep -q "CMake Error" "$log" && grep -qF "$expected" "$log" || { cat "$log"; fail "case $name: no error naming $expected"; }
}
configure_fails no-sources "no SOURCES given"
configure_fails missing-source "$here/errors/missing.klx"
configure_fails bad-scale "got 1.0"

if command -v dpkg-deb > /dev/null; then
  logged "$work/cpack.log" "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb"
  deb=$(find "$work/deb" -maxdepth 1 -name '*.deb')
  [ -n "$deb" ] || fail "cpack wrote no .deb"
  dpkg-deb -c "$deb" > "$work/deb-files"
  for file in ./usr/bin/tessel ./usr/share/man/man1/tessel.1 /tesselConfig.cmake /TesselResources.cmake; do
    grep -qF "$file" "$work/deb-files" || { cat "$work/deb-files"; fail "the Debian package lacks $file"; }
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ $depends == *libpng* && $depends == *libc6* ]] || fail "Depends without the shared libraries: $depends"
  echo "Debian package $(basename "$deb"): Depends: $depends"
else
  echo "dpkg-deb not found: Debian package not checked"
fi

windres=$(command -v x86_64-w64-mingw32-windres || true)
if ! command -v x86_64-w64-mingw32-g++ > /dev/null || [ -z "$windres" ]; then
  echo "SKIP: MinGW (x86_64-w64-mingw32-g++, x86_64-w64-mingw32-windres) not found"
  exit 77
fi

# Builds and prints the log; fails unless the conversion ran (want=yes) or did not (want=no).
build_app() {
  local app=$1 want=$2 what=$3
  logged "$app.log" "$cmake" --build "$app"
  if grep -q "Converting .*hello.klx" "$app.log"; then ran=yes; else ran=no; fi
  [ "$ran" = "$want" ] || { cat "$app.log"; fail "$what: conversion ran: $ran, expected $want"; }
}

generators=()
command -v ninja > /dev/null && generators+=(Ninja)
command -v make > /dev/null && generators+=("Unix Makefiles")
[ ${#generators[@]} -gt 0 ] || fail "neither ninja nor make found"
for generator in "${generators[@]}"; do
  tag=${generator// /-}
  src=$work/src-$tag app=$work/app-$tag
  cp -r "$here/project" "$src"
  logged "$app.configure.log" "$cmake" -S "$src" -B "$app" -G "$generator" \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$prefix"
  build_app "$app" yes "$generator: first build"
  [ -f "$app/hello.exe" ] || fail "$generator: no hello.exe"
  object=$(find "$app" -name 'hello.rc.obj' -o -name 'hello.rc.o' -o -name 'hello.rc.res')
  [ -n "$object" ] || fail "$generator: no object of the script"
  python3 "$here/check_resources.py" "$windres" "$app/hello.exe" "$object"
  # The head line of each resource in the executable, as windres writes it back.
  "$windres" -J coff -i "$app/hello.exe" -O rc | awk '/^BEGIN/ { print prev } { prev = $0 }'

  build_app "$app" no "$generator: build with nothing changed"
  touch "$src/main.cpp"
  build_app "$app" no "$generator: build after an edit to main.cpp"
  touch "$src/images/hello_16x16.svg"
  build_app "$app" yes "$generator: build after an edit to the SVG source"
  touch "$src/resources/hello.klx"
  build_app "$app" yes "$generator: build after an edit to the KLX source"
  build_app "$app" no "$generator: build after the rebuild"
  echo "$generator: MinGW build and rebuilds passed"
done
