#!/bin/sh
# check.sh: regenerates the almanac day tables into a scratch folder and
# compares them with the committed ones under data/almanac. Exits non-zero
# (and shows the difference) when they differ, so the committed data can
# never drift from its generator. Runs from any working directory.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
committed="$repo/data/almanac"

if [ ! -d "$here/node_modules" ]; then
  (cd "$here" && npm ci --no-audit --no-fund)
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$here" && node generate.js "$scratch") >/dev/null

status=0
for table in almanac_days.tsv trad_almanac_days.tsv; do
  if ! diff -u "$committed/$table" "$scratch/$table" >"$scratch/$table.diff" 2>&1; then
    echo "check.sh: data/almanac/$table differs from its generator's output:" >&2
    head -n 40 "$scratch/$table.diff" >&2
    status=1
  fi
done
if [ "$status" -eq 0 ]; then
  echo "check.sh: data/almanac matches its generator"
fi
exit "$status"
