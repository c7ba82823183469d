#!/bin/sh
# Usage: cli_test.sh PATH-TO-tessary-designer
program="$1"
failed=0
check() { # description, condition
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi
}

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version 2>&1); rc=$?
check "--version prints the version" '[ $rc -eq 0 ] && echo "$out" | grep -q "tessary-designer 5.77"'

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help 2>&1); rc=$?
check "--help describes the server text" '[ $rc -eq 0 ] && echo "$out" | grep -q "tcp://address"'
check "--help names the program, its options and the exit statuses" \
  'echo "$out" | grep -q "^Usage: tessary-designer \[options\]" && echo "$out" | grep -q -- "-v, --version" && echo "$out" | grep -q "^Exit status:"'
check "--help says where the manual is" 'echo "$out" | grep -q "^Manual: "'

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" tcp://core1:5200 2>&1); rc=$?
check "no display: a clear error and a non-zero exit" '[ $rc -ne 0 ] && echo "$out" | grep -q "no display"'

out=$(env -u DISPLAY "$program" --bogus 2>&1); rc=$?
check "an unknown option is refused" '[ $rc -eq 2 ] && echo "$out" | grep -q "bogus"'

echo "$failed failed"
[ $failed -eq 0 ]
