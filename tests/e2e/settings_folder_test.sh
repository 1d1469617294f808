# A settings folder that cannot be made (a file stands in its place): the program says so and
# ends with exit code 0 before its main dialog shows.
source "$E2E_HARNESS"

start_display
use_private_home
mkdir -p "$HOME/Documents"
echo "not a folder" >"$HOME/Documents/Quorvane"
start_tarnvault

box=$(window_titled "tarnvault" 60) || fail "no message box"
has_window_titled "Tarnvault V1.0" && fail "the main dialog showed"
focus_window "$box"
text=$(copy_focused)
[[ $text == *"Unable to create directory: $HOME/Documents/Quorvane"* ]] || fail "the box says '$text'"
keys Return
code=$(exit_code_within 30)
[[ $code == 0 ]] || fail "exit code $code"
echo "passed"
