#!/bin/sh
# Usage: cli_test.sh PATH-TO-tessary-designer
program="$1"
failed=0
total=0
check() { # description, condition
  total=$((total + 1))
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

# --check: exit 0 with warnings only, 1 with an error, 2 for a PATH that is not there.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '<Panel><Name>Ok</Name><ControlList><Control><Type>Button</Type><Name>B1</Name><Width>100</Width><Height>100</Height></Control></ControlList></Panel>' > "$dir/Ok.xml"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --check "$dir/Ok.xml" 2>&1); rc=$?
check "--check: warnings only exit 0, one line per finding" '[ $rc -eq 0 ] && [ "$out" = "$dir/Ok.xml: B1: warning: no-action: The button has no command, no router map and no mapping." ]'
printf '<Panel><Name>Bad' > "$dir/Bad.xml"
out=$(env -u DISPLAY "$program" --check --json "$dir" 2>/dev/null); rc=$?
check "--check --json on a folder: an error exits 1" '[ $rc -eq 1 ] && echo "$out" | grep -q "\"code\": \"unreadable\"" && echo "$out" | grep -q "\"severity\": \"warning\""'
out=$(env -u DISPLAY "$program" --check "$dir/none.xml" 2>&1 >/dev/null); rc=$?
check "--check on a missing PATH exits 2 with a message" '[ $rc -eq 2 ] && echo "$out" | grep -q "does not exist"'
out=$(env -u DISPLAY "$program" --check 2>&1); rc=$?
check "--check without a PATH exits 2" '[ $rc -eq 2 ]'

# --replace: 0 when every change was made, 1 when a file could not be changed
# (the others still are), 2 for bad arguments; --dry-run writes nothing.
rdir="$dir/replace"
mkdir -p "$rdir/CVSPanels"
printf '<Panel><Name>A</Name><ControlList><Control><Type>Button</Type><Name>B1</Name><Click>ROUTE 12 3</Click></Control></ControlList></Panel>' > "$rdir/CVSPanels/A.xml"
cp "$rdir/CVSPanels/A.xml" "$rdir/original.xml"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --replace 12 13 --dry-run "$rdir/CVSPanels" 2>&1); rc=$?
check "--replace --dry-run lists the change and writes nothing" '[ $rc -eq 0 ] && [ "$out" = "$rdir/CVSPanels/A.xml: B1: OnClick: ROUTE 12 3 -> ROUTE 13 3" ] && cmp -s "$rdir/CVSPanels/A.xml" "$rdir/original.xml" && [ ! -e "$rdir/Backup" ]'
out=$(env -u DISPLAY "$program" --replace 12 13 --field onclick "$rdir/CVSPanels/A.xml" 2>&1); rc=$?
check "--replace changes the file and backs it up beside the folder" '[ $rc -eq 0 ] && grep -q "<Click>ROUTE 13 3</Click>" "$rdir/CVSPanels/A.xml" && ls "$rdir/Backup" | grep -q "^A_[0-9]*\.xml$"'
printf '<Panel><Name>Bad' > "$rdir/CVSPanels/Bad.xml"
out=$(env -u DISPLAY "$program" --replace 13 14 "$rdir/CVSPanels" 2>/dev/null); rc=$?
check "--replace: an unreadable file exits 1, the others still change" '[ $rc -eq 1 ] && grep -q "<Click>ROUTE 14 3</Click>" "$rdir/CVSPanels/A.xml" && [ "$(cat "$rdir/CVSPanels/Bad.xml")" = "<Panel><Name>Bad" ]'
for args in "14 15 $rdir/none.xml" "14 15 --field Colour $rdir/CVSPanels" "14 15" "--dry-run $rdir/CVSPanels/A.xml"; do
  out=$(env -u DISPLAY "$program" --replace $args 2>&1 >/dev/null); rc=$?
  check "--replace $args exits 2 with a message" '[ $rc -eq 2 ] && [ -n "$out" ]'
done

# Two writers of one folder at once, as two designers or scripts: one changes
# every binding's address (kept in the map), the other every caption (kept in
# the panel files). Neither may lose the other's changes.
wdir="$dir/writers"
mkdir -p "$wdir/CVSPanels"
map="$wdir/CVSPanels/HardwareMap.xml"
{
  printf '<HardwareMapList><Name>HardwareMapList</Name><ControlList>\r\n'
  for p in $(seq 1 40); do
    {
      printf '<Panel><Name>P%s</Name><ControlList>' "$p"
      for c in $(seq 1 50); do printf '<Control><Type>Button</Type><Name>K%s</Name><Caption>Old %s</Caption></Control>' "$c" "$c"; done
      printf '</ControlList></Panel>'
    } > "$wdir/CVSPanels/P$p.xml"
    for c in $(seq 1 50); do printf '<Control><Type>Button</Type><HostIPAddress>10.0.0.6</HostIPAddress><HostPort>5001</HostPort><InternalName>P%s.K%s</InternalName><AoipSysName>MOD_USER#1.BUT#%s</AoipSysName></Control>\r\n' "$p" "$c" "$c"; done
  done
  printf '</ControlList></HardwareMapList>\r\n'
} > "$map"
count() { grep -o "$1" "$2" | wc -l; }
env -u DISPLAY "$program" --replace 10.0.0.6 10.0.0.7 --field HWMapHostIP "$wdir/CVSPanels" >/dev/null 2>"$wdir/a.err" & a=$!
env -u DISPLAY "$program" --replace Old New --field Caption "$wdir/CVSPanels" >/dev/null 2>"$wdir/b.err" & b=$!
wait $a; rca=$?
wait $b; rcb=$?
check "two --replace runs at once keep every address and every caption change" \
  '[ $rca -eq 0 ] && [ $rcb -eq 0 ] && [ "$(count "<HostIPAddress>10.0.0.7<" "$map")" -eq 2000 ] && [ "$(count "10.0.0.6" "$map")" -eq 0 ] && [ "$(cat "$wdir"/CVSPanels/P*.xml | count "<Caption>New [0-9]*<" -)" -eq 2000 ]'
[ $rca -eq 0 ] && [ $rcb -eq 0 ] || cat "$wdir/a.err" "$wdir/b.err"

# The folder's map is HardwareMap.xml by that name: a copy beside it is
# neither read nor written.
cp "$map" "$wdir/CVSPanels/HardwareMap - copy.xml"
cp "$map" "$wdir/copy-before.xml"
out=$(env -u DISPLAY "$program" --replace 10.0.0.7 10.0.0.8 --field HWMapHostIP "$wdir/CVSPanels/P1.xml" 2>&1 >/dev/null); rc=$?
check "--replace writes bindings to HardwareMap.xml, not to a copy beside it" \
  '[ $rc -eq 0 ] && [ "$(count "10.0.0.8" "$map")" -eq 50 ] && cmp -s "$wdir/CVSPanels/HardwareMap - copy.xml" "$wdir/copy-before.xml"'

# --export: a PNG of 1 pixel per 15 twips, an SVG, a one-page PDF; nothing on stdout.
# Exit 1 when the panel cannot be read or OUT cannot be written, 2 for bad arguments.
printf '<Panel><Name>Shot</Name><Width>9600</Width><Height>6000</Height><ControlList><Control><Type>Label</Type><Name>L1</Name><Width>1500</Width><Height>300</Height></Control></ControlList></Panel>' > "$dir/Shot.xml"
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --export "$dir/shot.png" "$dir/Shot.xml" 2>/dev/null); rc=$?
check "--export OUT.png: 640x400 for 9600x6000 twips, exit 0, nothing on stdout" '[ $rc -eq 0 ] && [ -z "$out" ] && [ "$(png_size "$dir/shot.png")" = "640x400" ]'
out=$(env -u DISPLAY "$program" --export "$dir/shot.svg" "$dir/Shot.xml" 2>/dev/null); rc=$?
check "--export OUT.svg writes a drawing of the panel's pixel size" '[ $rc -eq 0 ] && [ -z "$out" ] && grep -q "viewBox=\"0 0 640 400\"" "$dir/shot.svg"'
printf '<Panel><Name>Pictured</Name><Picture>shot.png</Picture><OrigPicturePath>%s</OrigPicturePath></Panel>' "$dir/shot.png" > "$dir/Pictured.xml"
out=$(env -u DISPLAY "$program" --export "$dir/pictured.svg" "$dir/Pictured.xml" 2>&1); rc=$?
check "--export draws the panel's picture" '[ $rc -eq 0 ] && [ -z "$out" ] && grep -q "<image" "$dir/pictured.svg"'
out=$(env -u DISPLAY "$program" --export "$dir/shot.pdf" "$dir/Shot.xml" 2>/dev/null); rc=$?
check "--export OUT.pdf writes one page" '[ $rc -eq 0 ] && [ -z "$out" ] && head -c 4 "$dir/shot.pdf" | grep -q "%PDF" && [ "$(grep -ac "/Type /Page$" "$dir/shot.pdf")" -eq 1 ]'
out=$(env -u DISPLAY "$program" --export "$dir/shot.png" "$dir/Bad.xml" 2>&1 >/dev/null); rc=$?
check "--export of a panel that does not parse exits 1 naming the file" '[ $rc -eq 1 ] && echo "$out" | grep -q "Bad.xml: does not parse"'
out=$(env -u DISPLAY "$program" --export "$dir/no/such/folder/shot.png" "$dir/Shot.xml" 2>&1 >/dev/null); rc=$?
check "--export to a folder that is not there exits 1 naming OUT" '[ $rc -eq 1 ] && echo "$out" | grep -q "shot.png: cannot be written"'
out=$(env -u DISPLAY "$program" --export "$dir/shot.jpg" "$dir/Shot.xml" 2>&1 >/dev/null); rc=$?
check "--export to an unknown type exits 2" '[ $rc -eq 2 ] && echo "$out" | grep -q ".png, .svg or .pdf" && [ ! -e "$dir/shot.jpg" ]'
out=$(env -u DISPLAY "$program" --export "$dir/shot.png" "$dir/none.xml" 2>&1 >/dev/null); rc=$?
check "--export of a PANEL.xml that is not there exits 2" '[ $rc -eq 2 ] && echo "$out" | grep -q "none.xml: does not exist"'
env -u DISPLAY "$program" --export "$dir/shot.png" >/dev/null 2>&1; rc1=$?
env -u DISPLAY "$program" --export >/dev/null 2>&1; rc2=$?
check "--export without PANEL.xml or without OUT exits 2" '[ $rc1 -eq 2 ] && [ $rc2 -eq 2 ]'
env -u DISPLAY "$program" --export "$dir/a.png" --export "$dir/b.png" "$dir/Shot.xml" >/dev/null 2>&1; rc1=$?
env -u DISPLAY "$program" --check --export "$dir/a.png" "$dir/Shot.xml" >/dev/null 2>&1; rc2=$?
check "--export twice, or with --check, exits 2 and writes nothing" '[ $rc1 -eq 2 ] && [ $rc2 -eq 2 ] && [ ! -e "$dir/a.png" ] && [ ! -e "$dir/b.png" ]'

# Files that are no regular files, or too large, are refused at once by every
# command, naming the file: never read until memory runs out, never waited on.
sdir="$dir/special"
mkdir -p "$sdir"
mkfifo "$sdir/Pipe.xml"
ln -s /dev/zero "$sdir/Zero.xml"
printf '<Panel><Name>Large</Name></Panel>' > "$sdir/Large.xml"
truncate -s 65M "$sdir/Large.xml"
for f in Pipe Zero Large; do
  out=$(timeout 60 env -u DISPLAY "$program" --check "$sdir/$f.xml" 2>&1); rc=$?
  check "--check $f.xml: an unreadable finding with the reason" '[ $rc -eq 1 ] && echo "$out" | grep -q "$f.xml: : error: unreadable: The file cannot be read: it is \(a named pipe\|a device\|larger than 64 MB\)"'
  out=$(timeout 60 env -u DISPLAY "$program" --export "$dir/special.png" "$sdir/$f.xml" 2>&1); rc=$?
  check "--export of $f.xml exits 1 with the reason" '[ $rc -eq 1 ] && echo "$out" | grep -q "$f.xml: is \(a named pipe\|a device\|larger than 64 MB\)"'
  out=$(timeout 60 env -u DISPLAY "$program" --replace Large Small "$sdir/$f.xml" 2>&1); rc=$?
  check "--replace on $f.xml exits 1 with the reason" '[ $rc -eq 1 ] && echo "$out" | grep -q "$f.xml: not changed: The file cannot be read: it is"'
done

echo "$((total - failed)) passed, $failed failed"
[ $failed -eq 0 ]
