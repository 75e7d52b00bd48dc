#!/usr/bin/env bash
# Regenerates the verification set and compares it with the committed files.
#   verification_files_current.sh MAKE_VERIFICATION_MODELS FOLDER
set -euo pipefail
generator=$1
committed=$2
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$generator" "$fresh"
cp "$committed/references.txt" "$fresh/"
diff -r -q "$committed" "$fresh" || {
  echo "examples/verification is not what make_verification_models writes; regenerate it with"
  echo "  build/bin/make_verification_models examples/verification"
  exit 1
}
