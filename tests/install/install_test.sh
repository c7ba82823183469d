#!/bin/sh
# Usage: install_test.sh BUILD-FOLDER
build="$1"
prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
trap 'rm -rf "$prefix" "$elsewhere"' EXIT
failed=0
check() { # description, condition
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi
}

cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "FAILED: cmake --install"; exit 1; }
program="$prefix/bin/tessary-designer"
manual=$(find "$prefix/share/doc" -name help.pdf)
check "the manual is installed under share/doc" '[ -n "$manual" ]'

# Started from a folder without a manual, the installed program finds its own.
out=$(cd "$elsewhere" && env -u DISPLAY "$program" --help 2>&1)
check "the installed program finds the installed manual" \
  'echo "$out" | grep -qxF "Manual: $manual"'

# The start folder comes first.
cp "$manual" "$elsewhere/help.pdf"
out=$(cd "$elsewhere" && env -u DISPLAY "$program" --help 2>&1)
check "a manual in the start folder comes first" \
  'echo "$out" | grep -qxF "Manual: $elsewhere/help.pdf"'

mime="$prefix/share/mime/packages/tessary-designer-panel.xml"
desktop="$prefix/share/applications/tessary-designer.desktop"
check "panel files have a MIME type of their own, matched on the root element Panel" \
  'grep -q "type=\"application/x-tessary-panel\"" "$mime" && grep -q "localName=\"Panel\"" "$mime"'
check "the desktop file names that type, not every XML file" \
  'grep -qx "MimeType=application/x-tessary-panel;" "$desktop"'
check "the MIME package is well formed" 'xmllint --noout "$mime"'
check "the installed program carries no debug information" \
  '! readelf -S "$program" | grep -q "\.debug_info"'

# The web engine is a module loaded when a live page is first shown, so a
# start without web browsers does not pay for it.
if [ -n "$(find "$build/src" -maxdepth 1 -name tessary-webview.so)" ]; then
  check "the web view module is installed" \
    '[ -n "$(find "$prefix" -path "*/tessary-designer/tessary-webview.so")" ]'
  check "the program itself does not load the web engine" \
    '! readelf -d "$program" | grep -q WebEngine'
fi

echo "$failed failed"
[ $failed -eq 0 ]
