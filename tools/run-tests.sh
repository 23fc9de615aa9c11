#!/usr/bin/env bash
# Installs what is missing, builds the dependencies and both targets, and runs every test.
set -euo pipefail
source "$(dirname "$0")/env.sh"
qvl_ready_to_run
cd "$QVL_ROOT/build/x86_64"
ctest --output-on-failure --timeout 900 "$@"
