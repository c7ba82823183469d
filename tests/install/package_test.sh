#!/bin/sh
# Usage: package_test.sh BUILD-FOLDER CPACK PANEL.xml
# Makes the Debian package of a build as `--target package` does and checks
# it as a user gets it: its files in their Debian places and nothing else,
# its dependencies, the unpacked program, the manual page against --help,
# the bash completion and the software-centre entry; lintian and appstreamcli
# where they are installed.
build="$1"
cpack="$2"
panel="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() { # description, condition
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAILED: cpack"
  exit 1
fi
deb=$(ls "$work"/out/*.deb)
version=$(dpkg-deb -f "$deb" Version)
check "one package, tessary-designer_VERSION_ARCH.deb" \
  '[ "$deb" = "$work/out/tessary-designer_${version}_$(dpkg --print-architecture).deb" ]'

# Every file in its Debian place, owned by root, and nothing else.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
webview=$(find "$build/src" -maxdepth 1 -name tessary-webview.so)
{
  echo ./usr/bin/tessary-designer
  [ -n "$webview" ] && echo "./usr/$libdir/tessary-designer/tessary-webview.so"
  cat <<'EOF'
./usr/share/applications/tessary-designer.desktop
./usr/share/bash-completion/completions/tessary-designer
./usr/share/doc/tessary-designer/changelog.gz
./usr/share/doc/tessary-designer/copyright
./usr/share/doc/tessary-designer/help.pdf
./usr/share/icons/hicolor/128x128/apps/tessary-designer.png
./usr/share/icons/hicolor/scalable/apps/tessary-designer.svg
./usr/share/man/man1/tessary-designer.1.gz
./usr/share/metainfo/com.corvane.TessaryDesigner.metainfo.xml
./usr/share/mime/packages/tessary-designer-panel.xml
EOF
} | sort > "$work/expected"
dpkg-deb -c "$deb" > "$work/contents"
awk '$1 !~ /^d/ { print $6 }' "$work/contents" | sort > "$work/files"
check "the package holds exactly the program, its manuals, desktop entry, icons, MIME type, metainfo and completion" \
  'diff "$work/expected" "$work/files"'
check "every file is owned by root, the program 755, the rest 644" \
  '[ -z "$(awk '\''$2 != "root/root" || ($1 !~ /^d/ && $1 != ($6 ~ /\/bin\// ? "-rwxr-xr-x" : "-rw-r--r--"))'\'' "$work/contents")" ]'

# Depends from the program's libraries, the web engine only recommended.
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
check "Depends holds the libraries the program links, with versions, and the platform plugins" \
  'echo "$depends" | grep -q "libqt6widgets6 (>= " && echo "$depends" | grep -q "libc6 (>= " && echo "$depends" | grep -q "qt6-qpa-plugins"'
if [ -n "$webview" ]; then
  check "the web engine is recommended, not required" \
    'echo "$recommends" | grep -q "libqt6webenginewidgets6" && ! echo "$depends" | grep -q webengine'
else
  check "a build without the web engine neither needs nor recommends it" \
    '! echo "$depends $recommends" | grep -q webengine'
fi

# The unpacked program runs, says the package's version and finds its manual.
root="$work/root"
dpkg-deb -x "$deb" "$root"
program="$root/usr/bin/tessary-designer"
out=$(env -u DISPLAY "$program" --version 2>&1)
check "--version says the package's version" '[ "$out" = "tessary-designer $version" ]'
out=$(cd "$work" && env -u DISPLAY "$program" --help 2>&1)
check "the program finds the manual where the package put it" \
  'echo "$out" | grep -qxF "Manual: $root/usr/share/doc/tessary-designer/help.pdf"'
expected=$(cd "$work" && env -u DISPLAY "$build/src/tessary-designer" --check "$panel" 2>&1)
rc_expected=$?
out=$(cd "$work" && env -u DISPLAY "$program" --check "$panel" 2>&1)
rc=$?
check "--check on a panel: the same findings and status as the built program" \
  '[ $rc -eq $rc_expected ] && [ $rc -le 1 ] && [ "$out" = "$expected" ]'
check "the changelog is this version's" \
  '[ "$(dpkg-parsechangelog -l "$root/usr/share/doc/tessary-designer/changelog.gz" -S Version)" = "$version" ]'

# The manual page lists the options and exit statuses --help lists, item by
# item: "SYNOPSIS DESCRIPTION" with the blanks collapsed.
help=$(env -u DISPLAY "$program" --help)
help_items() { # section heading; prints SYNOPSIS<tab>DESCRIPTION
  echo "$help" | awk -v head="$1" '
    $0 == head { on = 1; next }
    on && /^$/ { exit }
    on { sub(/^  /, ""); i = match($0, /  +/); print substr($0, 1, i - 1) "\t" substr($0, i + RLENGTH) }'
}
manpage="$root/usr/share/man/man1/tessary-designer.1.gz"
MAN_DISABLE_SECCOMP=1 MANWIDTH=1000 man --warnings -E ascii --nh --nj -l "$manpage" 2> "$work/man.err" |
  sed 's/.\x08//g' > "$work/man.txt"
man_items() { # section heading
  awk -v head="$1" '
    $0 == head { on = 1; next }
    on && /^[^ ]/ { exit }
    on && /^       [^ ]/ { if (item != "") print item; item = $0; next }
    on && /^        / { item = item " " $0 }
    END { if (item != "") print item }' "$work/man.txt" | sed 's/^ *//; s/  */ /g'
}
check "the manual page renders without warnings" '[ -s "$work/man.txt" ] && [ ! -s "$work/man.err" ]'
check "the manual page lists every option of --help, as --help describes it" \
  'help_items "Options:" | tr "\t" " " > "$work/help.opt" && man_items OPTIONS > "$work/man.opt" && [ -s "$work/help.opt" ] && diff "$work/help.opt" "$work/man.opt"'
check "the manual page lists the exit statuses of --help" \
  'help_items "Exit status:" | tr "\t" " " > "$work/help.st" && man_items "EXIT STATUS" > "$work/man.st" && [ -s "$work/help.st" ] && diff "$work/help.st" "$work/man.st"'

# Bash completion, the way bash calls it: the options after "-", panel files
# and folders elsewhere, image files after --export, nothing after --field.
completion="$root/usr/share/bash-completion/completions/tessary-designer"
mkdir -p "$work/panels/Studio"
touch "$work/panels/A.xml" "$work/panels/notes.txt" "$work/panels/shot.png"
complete_words() { # words of the command line, the last one being completed
  (cd "$work/panels" && bash -c '
    . /usr/share/bash-completion/bash_completion && . "$1" || exit 1
    shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _tessary_designer tessary-designer "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@" 2>&1 |
    sort | paste -sd ' ')
}
typed_options=$(help_items "Options:" | cut -f1 | tr -d , | tr ' ' '\n' | grep '^-' | sort | paste -sd ' ')
check "Tab after - offers every option of --help" '[ "$(complete_words tessary-designer -)" = "$typed_options" ]'
while IFS='|' read -r words offered; do
  check "Tab after '$words' offers '$offered'" '[ "$(complete_words $words "")" = "$offered" ]'
done <<'EOF'
tessary-designer|A.xml Studio
tessary-designer --check|A.xml Studio
tessary-designer --check A.xml|A.xml Studio
tessary-designer --export|Studio shot.png
tessary-designer --field|
EOF
check "Tab after '--ch' completes --check" '[ "$(complete_words tessary-designer --ch)" = "--check" ]'

# The software-centre entry: valid, and naming the installed desktop entry,
# the panel MIME type and this release.
metainfo="$root/usr/share/metainfo/com.corvane.TessaryDesigner.metainfo.xml"
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/usr/share/mime/packages/tessary-designer-panel.xml")
check "the metainfo names the desktop entry, the panel type, the screenshot and this release" \
  'xmllint --noout "$metainfo" && grep -q "<launchable type=\"desktop-id\">tessary-designer.desktop</launchable>" "$metainfo" && grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" && grep -q "<screenshot type=\"default\">" "$metainfo" && grep -q "<release version=\"$version\"" "$metainfo"'
if command -v appstreamcli > /dev/null; then
  check "appstreamcli validates the metainfo" 'appstreamcli validate --no-net "$metainfo"'
else
  echo "skipped: appstreamcli is not installed"
fi
if command -v lintian > /dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1
  rc=$?
  cat "$work/lintian.log"
  check "lintian reports no errors" '[ $rc -eq 0 ]'
else
  echo "skipped: lintian is not installed"
fi

echo "$failed failed"
[ $failed -eq 0 ]
