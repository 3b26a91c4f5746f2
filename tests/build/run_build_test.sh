#!/usr/bin/env bash
# Build test: real builds over a copy of the bundled example read tessel's --depfile.
#   GNU make (a Makefile with -include) and, when both are installed, CMake with Ninja
#   (add_custom_command with DEPFILE). The first build runs tessel, the second does nothing,
#   touching each kind of input runs it again, touching an unrelated file does not.
# Usage: run_build_test.sh <tessel binary> <source tree>
set -u
tessel=$(realpath "$1")
root=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

# The inputs touched one after another, one of each kind the example reads.
inputs=(app.klx images/appicon.png images/appicon@2x.png images/star_16x16.svg data/notes.txt data/colours.dat ids.txt)

prepare() {  # <dir>: a copy of the example, a -h header and an unrelated file
  mkdir -p "$1"
  cp -r "$root/examples/app.klx" "$root/examples/images" "$root/examples/data" "$1/"
  printf 'APP_VERSION = 3\n' > "$1/ids.txt"
  cp "$1/images/appicon.png" "$1/images/unrelated.png"
}

# Marks a file newer than anything the last build wrote (file times are coarse-grained).
touch_later() { sleep 0.05; touch "$1"; }

# check <tool> <log> <should run: yes|no> <what>
check() {
  local ran=no
  case $1 in
    make) grep -q -- '--depfile' "$2" && ran=yes ;;
    ninja) grep -q 'ninja: no work to do' "$2" || ran=yes ;;
  esac
  if [ "$ran" = "$3" ]; then
    echo "ok: $1: $4: tessel ran: $ran"
  else
    echo "FAIL: $1: $4: tessel ran: $ran, expected $3"; sed 's/^/    /' "$2"; fail=1
  fi
}

# ---- GNU make ----
src="$work/make"
prepare "$src"
cat > "$src/Makefile" <<MAKEFILE
TESSEL = $tessel
out/app.rc: app.klx
	\$(TESSEL) -i app.klx -o out/app.rc -t w -p "images;data" -w 1.5 2 -d WINDOWS -h ids.txt --depfile out/app.d
-include out/app.d
MAKEFILE
log="$work/make.log"
echo "== make: first build"; make -C "$src" > "$log" 2>&1; cat "$log"; check make "$log" yes "first build"
echo "== make: depfile"; cat "$src/out/app.d"
make -C "$src" > "$log" 2>&1; cat "$log"; check make "$log" no "second build"
for f in "${inputs[@]}"; do
  touch_later "$src/$f"; make -C "$src" > "$log" 2>&1; check make "$log" yes "touched $f"
  make -C "$src" > "$log" 2>&1; check make "$log" no "build after touching $f"
done
touch_later "$src/images/unrelated.png"; make -C "$src" > "$log" 2>&1; check make "$log" no "touched images/unrelated.png"

# ---- CMake with Ninja ----
if ! command -v cmake > /dev/null || ! command -v ninja > /dev/null; then
  echo "skipped: CMake with Ninja (cmake or ninja is not installed)"
else
  src="$work/cmake"
  prepare "$src"
  cat > "$src/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.20)
project(depfile_check NONE)
set(RC \${CMAKE_CURRENT_BINARY_DIR}/out/app.rc)
add_custom_command(OUTPUT \${RC}
  COMMAND "$tessel" -i \${CMAKE_CURRENT_SOURCE_DIR}/app.klx -o \${RC} -t w
          -p "\${CMAKE_CURRENT_SOURCE_DIR}/images;\${CMAKE_CURRENT_SOURCE_DIR}/data" -w 1.5 2 -d WINDOWS
          -h \${CMAKE_CURRENT_SOURCE_DIR}/ids.txt --depfile \${CMAKE_CURRENT_BINARY_DIR}/out/app.d
  DEPENDS \${CMAKE_CURRENT_SOURCE_DIR}/app.klx
  DEPFILE \${CMAKE_CURRENT_BINARY_DIR}/out/app.d
  VERBATIM)
add_custom_target(resources ALL DEPENDS \${RC})
CMAKE
  build="$work/cmake-build"
  log="$work/ninja.log"
  if ! cmake -S "$src" -B "$build" -G Ninja > "$log" 2>&1; then
    cat "$log"; echo "FAIL: cmake could not configure the Ninja build"; exit 1
  fi
  echo "== ninja: first build"; ninja -C "$build" > "$log" 2>&1; cat "$log"; check ninja "$log" yes "first build"
  ninja -C "$build" > "$log" 2>&1; echo "== ninja: second build"; cat "$log"; check ninja "$log" no "second build"
  for f in "${inputs[@]}"; do
    touch_later "$src/$f"; ninja -C "$build" > "$log" 2>&1; check ninja "$log" yes "touched $f"
    ninja -C "$build" > "$log" 2>&1; check ninja "$log" no "build after touching $f"
  done
  touch_later "$src/images/unrelated.png"; ninja -C "$build" > "$log" 2>&1; check ninja "$log" no "touched images/unrelated.png"
fi
exit $fail
