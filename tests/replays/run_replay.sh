#!/usr/bin/env bash
# Replays one script and compares the output with NAME.expected beside it.
# The first line of the script may hold the simulator's options after "#!args".
set -euo pipefail
sim=$1 assets=$2 script=$3
expected=${script%.script}.expected
args=$(sed -n '1s/^#!args //p' "$script")
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
# shellcheck disable=SC2086
(cd "$assets" && "$sim" --script "$script" $args) > "$actual"
if ! diff -u "$expected" "$actual" | head -40; then :; fi
cmp -s "$expected" "$actual"
