#!/usr/bin/env bash
# Runs one Windows program in the Wine session that wine-session.sh started.
#   wine-run.sh STATE_DIR WINE_LOADER PROGRAM [ARGS...]
set -euo pipefail
state=$1
loader=$2
shift 2
# shellcheck disable=SC1091
source "$state/env"
exec "$loader" "$@"
