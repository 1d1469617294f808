# The fields survive a restart, and a settings snapshot saved with "Save" brings them back
# through "Load" and the file dialog after a field was changed.
source "$E2E_HARNESS"

start_display
use_private_home
settings="$HOME/Documents/Quorvane/Tarnvault/Settings.ini"
lock="$E2E_DIR/lock.tlk"
echo "any content" >"$lock"
hash_a=$(printf 'a%.0s' {1..64})
hash_b=$(printf '0123456789abcdef%.0s' {1..4})

start_tarnvault
main=$(window_titled "Tarnvault V1.0") || fail "the main dialog did not show"
focus_window "$main"
# Tab order: block number, version, previous hash, Merkle root, time stamp, bits, nonce,
# "Open TimeLock", "...", the path, the password.
type_fields 5 2 "$hash_a" "$hash_b" 1700000000 486604799 42 "" "" "$lock" "pass word"
wait_until 20 grep -qx "Password=pass word" "$settings" || fail "the fields were not saved"
keys Escape
code=$(exit_code_within 30)
[[ $code == 0 ]] || fail "exit code $code"

start_tarnvault
main=$(window_titled "Tarnvault V1.0") || fail "the main dialog did not show again"
focus_window "$main"
[[ $(copy_focused) == 5 ]] || fail "the block number was not restored"
keys Tab Tab Tab
[[ $(copy_focused) == "$hash_b" ]] || fail "the Merkle root was not restored"
keys Tab Tab Tab Tab Tab Tab
[[ $(copy_focused) == "$lock" ]] || fail "the path was not restored"
keys Tab
[[ $(copy_focused) == "pass word" ]] || fail "the password was not restored"

# Save a snapshot for block 5, change the password, then load the snapshot back.
keys Tab space
wait_until 20 test -f "$E2E_DIR/lock/5.ini" || fail "no snapshot was written"
keys shift+Tab ctrl+a
type_text "changed"
wait_until 20 grep -qx "Password=changed" "$settings" || fail "the change was not saved"
keys Tab Tab space
picker=$(window_titled "Select a settings file..." 60) || fail "no file dialog"
focus_window "$picker"
keys ctrl+a
type_text "5.ini"
keys Return
wait_until 20 sh -c "! xdotool search --onlyvisible --name '^Select a settings file...\$'" ||
  fail "the file dialog stayed"
focus_window "$main"
keys shift+Tab shift+Tab
[[ $(copy_focused) == "pass word" ]] || fail "the snapshot's password did not come back"
wait_until 20 grep -qx "Password=pass word" "$settings" || fail "the loaded fields were not saved"

keys Escape
code=$(exit_code_within 30)
[[ $code == 0 ]] || fail "exit code $code"
echo "passed"
