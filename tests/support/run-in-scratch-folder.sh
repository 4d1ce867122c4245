#!/bin/sh
# Runs a test executable from a fresh scratch folder, which becomes its program folder.
set -e
exe="$1"
shift
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tw-program.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cp "$exe" "$scratch/"
cd "$scratch"
"./$(basename "$exe")" "$@"
