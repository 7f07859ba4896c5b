#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with a simulated
# keyboard of each shipped model.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" normal
exec "$root/build/normal/bin/keystrel" --simulate "$@"
