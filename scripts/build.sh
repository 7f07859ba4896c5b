#!/usr/bin/env bash
# Configures and builds one flavour of the tree.
#   scripts/build.sh [normal|asan|tsan]   (default normal) -> build/<flavour>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-normal}
case "$flavour" in
  normal) san="" ;;
  asan) san="address" ;;
  tsan) san="thread" ;;
  *) echo "build.sh: unknown flavour '$flavour'" >&2; exit 2 ;;
esac
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
dir="$root/build/$flavour"
cmake -S "$root" -B "$dir" -G Ninja -DKEYSTREL_SANITIZE="$san" -DKEYSTREL_WERROR="$werror" \
  -DKEYSTREL_BUILD_BENCH=$([ "$flavour" = normal ] && echo ON || echo OFF) >/dev/null
cmake --build "$dir" -j "$(nproc)"
