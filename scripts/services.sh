#!/usr/bin/env bash
# Sourced by the test and run scripts: starts the display, session bus and sound
# server the tests need when the environment does not already have them.
# Leaves KEYSTREL_SERVICE_PIDS set; call keystrel_stop_services to end them.
KEYSTREL_SERVICE_PIDS=""

keystrel_start_services() {
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/keystrel-run.XXXXXX)}
  chmod 700 "$XDG_RUNTIME_DIR"
  if [ -z "${DISPLAY:-}" ]; then
    local n=99
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    KEYSTREL_SERVICE_PIDS="$KEYSTREL_SERVICE_PIDS $!"
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-daemon >/dev/null; then
    local out
    out=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$out" | sed -n 1p)
    KEYSTREL_SERVICE_PIDS="$KEYSTREL_SERVICE_PIDS $(echo "$out" | sed -n 2p)"
  fi
  if command -v pulseaudio >/dev/null && ! pulseaudio --check 2>/dev/null; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 --system=false --disallow-exit \
      -n --load="module-null-sink sink_name=keystrel_test" --load="module-native-protocol-unix" \
      >/dev/null 2>&1 || echo "services: pulseaudio did not start; audio tests will skip" >&2
  fi
}

keystrel_stop_services() {
  pulseaudio --kill >/dev/null 2>&1 || true
  for p in $KEYSTREL_SERVICE_PIDS; do kill "$p" 2>/dev/null || true; done
}
