# A first start with no settings: the user types the password and the header fields, opens a
# TimeLock file, reads the opened text, closes the result; the timing line follows on standard
# output and a normal close ends with exit code 0. A wrong nonce gives "Failure" and no line.
source "$E2E_HARNESS"

eval "$("$MAKE_TIMELOCK" "$E2E_DIR/lock.tlk")"
start_display
use_private_home
start_tarnvault

main=$(window_titled "Tarnvault V1.0") || fail "the main dialog did not show"
focus_window "$main"

# Tab order: block number, version, previous hash, Merkle root, time stamp, bits, nonce,
# "Open TimeLock", "...", the path, the password. Enter in the password presses Open.
type_fields "$BLOCK_NUMBER" "$BLOCK_VERSION" "$PREV_BLOCK_HASH" "$MERKLE_ROOT" "$TIME_STAMP" \
  "$BITS" "$NONCE" "" "" "$E2E_DIR/lock.tlk" "$PASSWORD"
keys Return
result=$(window_titled "Decrypted Data" 300) || fail "the result dialog did not show"
focus_window "$result"
shown=$(copy_focused)
[[ $shown == "$PLAIN_TEXT" ]] || fail "the result dialog shows '$shown'"
grep -q "MCC elapsed_ms" "$E2E_OUT" && fail "the timing line came before the result closed"
keys Escape
wait_until 30 grep -Eqx "MCC elapsed_ms: [0-9]+" "$E2E_OUT" || fail "no timing line on stdout"

# The same fields with the nonce one off: the file does not open. The focus is back in the
# password; four steps back lead to the nonce.
focus_window "$main"
keys shift+Tab shift+Tab shift+Tab shift+Tab ctrl+a
type_text "$((NONCE + 1))"
keys Return
box=$(window_titled "tarnvault" 300) || fail "no message box after a wrong nonce"
focus_window "$box"
[[ $(copy_focused) == *Failure* ]] || fail "the box does not say Failure"
keys Return
wait_until 10 sh -c "! xdotool search --onlyvisible --name '^tarnvault\$'" || fail "the box stayed"
[[ $(grep -c "MCC elapsed_ms" "$E2E_OUT") == 1 ]] || fail "a timing line for a file that did not open"

focus_window "$main"
keys Escape
code=$(exit_code_within 30)
[[ $code == 0 ]] || fail "a normal close ended with exit code $code"
echo "passed"
