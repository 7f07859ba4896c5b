#!/usr/bin/env bash
# Installs what is missing, builds the normal, ASan+UBSan and TSan flavours and runs
# the whole suite in each. Exits non-zero when any build or test fails.
#   scripts/test.sh [normal|asan|tsan ...]   (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
. "$root/scripts/services.sh"
keystrel_start_services
trap keystrel_stop_services EXIT

flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(normal asan tsan)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp}

status=0
for f in "${flavours[@]}"; do
  echo "=== build $f"
  "$root/scripts/build.sh" "$f"
  echo "=== test $f"
  label_args=()
  # The TSan flavour runs the tests that use threads; the slow single-threaded crash
  # and VM checks are left to the other flavours.
  if [ "$f" = tsan ]; then label_args=(-LE "no_tsan"); fi
  if [ "$f" = asan ]; then label_args=(-LE "no_asan"); fi
  if ! ctest --test-dir "$root/build/$f" --output-on-failure -j "$(nproc)" "${label_args[@]}"; then
    status=1
  fi
done
exit $status
