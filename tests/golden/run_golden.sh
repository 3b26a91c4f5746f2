#!/usr/bin/env bash
# Golden cases: each folder under the golden directory holds
#   args      - the command-line arguments, one per line (paths relative to the case's work copy)
#   input/    - the files the run starts with (copied to a fresh work directory)
#   expected/ - every file the run must leave behind, byte for byte (files of input/ included
#               only when listed here again), plus stdout, stderr and exit (the exit code)
# The run happens inside the work directory, shown as <work> in the expected files. TESSEL_UPDATE_GOLDEN=1 rewrites expected/;
# TESSEL_GOLDEN_ONLY=<pattern> runs only the matching cases.
set -u
tessel=$(realpath "$1")
root=$2
fail=0
count=0
for case in "$root"/*/; do
  case=${case%/}
  [ -f "$case/args" ] || continue
  name=$(basename "$case")
  if [ -n "${TESSEL_GOLDEN_ONLY:-}" ] && [[ "$name" != $TESSEL_GOLDEN_ONLY ]]; then continue; fi
  count=$((count + 1))
  work=$(mktemp -d)
  [ -d "$case/input" ] && cp -r "$case/input/." "$work/"
  mapfile -t args < "$case/args"
  before=$(cd "$work" && find . -type f | sort)
  (cd "$work" && "$tessel" "${args[@]}" > "$work/.stdout" 2> "$work/.stderr" < /dev/null; echo $? > "$work/.exit")
  actual=$(mktemp -d)
  mv "$work/.stdout" "$actual/stdout"; mv "$work/.stderr" "$actual/stderr"; mv "$work/.exit" "$actual/exit"
  # Files the run created or changed
  (cd "$work" && find . -type f | sort) | while read -r f; do
    if ! grep -qxF "$f" <<< "$before" || { [ -f "$case/input/$f" ] && ! cmp -s "$work/$f" "$case/input/$f"; }; then
      mkdir -p "$actual/$(dirname "$f")"; cp "$work/$f" "$actual/$f"
    fi
  done
  # The work directory appears in messages; it is written as <work> so that cases compare anywhere.
  grep -rlF "$work" "$actual" 2>/dev/null | while read -r f; do
    WORK="$work" perl -pi -e 's/\Q$ENV{WORK}\E/<work>/g' "$f"
  done
  if [ "${TESSEL_UPDATE_GOLDEN:-}" = 1 ]; then
    rm -rf "$case/expected"; cp -r "$actual" "$case/expected"
  elif ! diff -r "$case/expected" "$actual" > "$work.diff" 2>&1; then
    echo "FAIL: $name"; sed -n 1,40p "$work.diff"; fail=1
  fi
  rm -rf "$work" "$work.diff" "$actual"
done
echo "golden: $count cases"
exit $fail
