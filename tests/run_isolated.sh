#!/usr/bin/env bash
# Runs one test binary with its own temporary home, so it never reads or writes the user's files.
set -u
scratch=$(mktemp -d "${TMPDIR:-/tmp}/mojuan-test.XXXXXX")
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config" "$scratch/data" "$scratch/tmp" "$scratch/home"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export TMPDIR="$scratch/tmp" QT_QPA_PLATFORM=offscreen
"$@"
