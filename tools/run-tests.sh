#!/usr/bin/env bash
# Installs what is missing, builds the dependencies and both targets, and runs every test.
set -euo pipefail
source "$(dirname "$0")/env.sh"
qvl_prepare
qvl_build
qvl_wine_prefix
qvl_start_session
cd "$QVL_ROOT/build/x86_64"
ctest --output-on-failure --timeout 900 "$@"
