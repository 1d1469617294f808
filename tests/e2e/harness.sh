# The end-to-end harness, sourced by each tests/e2e/*_test.sh: a private Xvfb display (with
# openbox when installed), a private HOME, the real tarnvault started on it, and the keys and
# reads a user's hands and eyes would do. Every wait polls with a deadline; a test that fails
# prints what the program wrote.
set -euo pipefail

for tool in Xvfb xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
: "${TARNVAULT:?the path of the tarnvault executable}"

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tarnvault-e2e-XXXXXX")
E2E_APP_PID="" E2E_XVFB_PID="" E2E_WM_PID=""
E2E_OUT="$E2E_DIR/stdout" E2E_ERR="$E2E_DIR/stderr"

e2e_cleanup() {
  local pid
  for pid in "$E2E_APP_PID" "$E2E_WM_PID" "$E2E_XVFB_PID"; do
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  if [[ -n ${E2E_SHOTS:-} ]] && command -v import >/dev/null; then
    import -window root "$E2E_SHOTS/$(basename "$0" .sh).png" 2>/dev/null || true
  fi
  for f in "$E2E_OUT" "$E2E_ERR"; do
    [[ -s $f ]] && { echo "--- ${f##*/}:" >&2; tail -n 40 "$f" >&2; }
  done
  exit 1
}

# Polls "$@" every 0.1 s until it succeeds or seconds pass.
wait_until() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# A display of its own: Xvfb picks a free number and tells it through a descriptor.
start_display() {
  local fifo="$E2E_DIR/displayfd" number=""
  mkfifo "$fifo"
  # -noreset: the server would otherwise reset as each client closes, refusing the next meanwhile.
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  read -r -t 30 number <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$number"
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  wait_until 20 xdotool getdisplaygeometry || fail "display $DISPLAY does not answer"
  if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    E2E_WM_PID=$!
    # A window mapped while the manager is still starting may stay unmapped: wait until it
    # has announced its desktops.
    wait_until 20 xdotool get_num_desktops || fail "openbox did not start"
  fi
}

# A HOME of its own, so Documents (and the settings in it) belong to this test alone.
use_private_home() {
  export HOME="$E2E_DIR/home"
  mkdir -p "$HOME"
  unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR
}

# The program runs under a small watcher that writes its exit code to a file, so the code can
# be read from anywhere (a command substitution is a subshell, which cannot wait for it).
start_tarnvault() {
  rm -f "$E2E_DIR/app.pid" "$E2E_DIR/app.exit"
  (
    "$TARNVAULT" >"$E2E_OUT" 2>"$E2E_ERR" &
    echo $! >"$E2E_DIR/app.pid"
    code=0
    wait $! || code=$?
    echo "$code" >"$E2E_DIR/app.exit.tmp" && mv "$E2E_DIR/app.exit.tmp" "$E2E_DIR/app.exit"
  ) &
  wait_until 10 test -s "$E2E_DIR/app.pid" || fail "tarnvault did not start"
  E2E_APP_PID=$(cat "$E2E_DIR/app.pid")
}

app_running() { [[ ! -e $E2E_DIR/app.exit ]]; }

# The id of the visible window titled exactly $1, waiting up to $2 seconds (default 60).
window_titled() {
  local title=$1 seconds=${2:-60} id=""
  local deadline=$((SECONDS + seconds))
  while ((SECONDS < deadline)); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | tail -n 1) || true
    [[ -n $id ]] && { echo "$id"; return 0; }
    app_running || return 1
    sleep 0.1
  done
  return 1
}

has_window_titled() {
  [[ -n $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) ]]
}

focus_window() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
}

keys() { xdotool key --clearmodifiers --delay 30 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 10 -- "$1"; }

# Types each text into the focused field, pressing Tab after each but the last.
type_fields() {
  local first=1 text
  for text in "$@"; do
    ((first)) || keys Tab
    first=0
    [[ -n $text ]] && type_text "$text"
  done
}

# What the focused widget gives to the clipboard on Ctrl+A, Ctrl+C (a message box copies its
# caption and text).
clipboard_holds_text() { [[ -n $(xclip -selection clipboard -o 2>/dev/null) ]]; }
copy_focused() {
  # xclip stays to serve the selection: it must not hold this function's output open.
  printf '' | xclip -selection clipboard -i >/dev/null 2>&1
  keys ctrl+a ctrl+c
  wait_until 10 clipboard_holds_text || true
  xclip -selection clipboard -o 2>/dev/null
}

# The exit code of the program, once it has ended (up to $1 seconds).
exit_code_within() {
  wait_until "$1" test -e "$E2E_DIR/app.exit" || fail "tarnvault did not end within $1 s"
  E2E_APP_PID=""
  cat "$E2E_DIR/app.exit"
}
