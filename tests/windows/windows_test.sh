#!/usr/bin/env bash
# The Windows build under Wine, on a virtual X server, against the Linux
# build: kvrtool.exe's files byte for byte and its printed results, its
# Windows paths and file names, a failed save, the window, and the installer.
#   windows_test.sh LINUX_KVRTOOL WINDOWS_BUILD
# Each case prints "ok" or "FAILED" with what differed; the exit status is 1
# when any case failed.
set -uo pipefail
if [[ -z "${WINDOWS_TEST_ON_XVFB:-}" ]]; then
    export WINDOWS_TEST_ON_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

linux=$(realpath "$1")
build=$(realpath "$2")
kvrtool_exe=$build/kvrtool.exe
ambrell_exe=$build/Ambrell.exe
installer=$(ls "$build"/ambrell-*-win64-setup.exe)

# A Wine of its own, made afresh, silent, and without the .NET and HTML
# engines that it would offer to download. UTF-8, so that file names that are
# not ASCII reach Windows intact.
export WINEPREFIX=$build/wine WINEDEBUG=-all LC_ALL=C.UTF-8
# No menu entries or file types for the host desktop either.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
rm -rf "$WINEPREFIX" "$build/windows-test"
work=$build/windows-test
mkdir -p "$work/linux" "$work/windows"
cd "$work"
# One Wine server for the whole test, started apart from any output: a server
# that a command started holds that command's output open until it ends.
"$wineserver" -p </dev/null >/dev/null 2>&1
trap '"$wineserver" -k' EXIT
"$wine" wineboot --init >/dev/null 2>&1

passes=0
failures=0
pass() { echo "ok       $1"; passes=$((passes + 1)); }
fail() { echo "FAILED   $1: $2"; failures=$((failures + 1)); }
# Wine's console output ends its lines with CR LF, as Windows programs do.
kvrexe() { "$wine" "$kvrtool_exe" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
kvrlinux() { "$linux" "$@" 2>&1; }

# The same text, or numbers that differ by at most 1e-12 (a residual of
# rounding, where the C libraries differ).
same_output() {
    cmp -s "$1" "$2" && return 0
    awk 'NR == FNR { a[FNR] = $0; n = FNR; next }
         { if (a[FNR] == $0) next
           na = split(a[FNR], x, /[ ,:()]+/); nb = split($0, y, /[ ,:()]+/)
           if (na != nb) exit 1
           for (i = 1; i <= na; i++) {
               if (x[i] == y[i]) continue
               num = "^[-+]?[0-9.]+([eE][-+]?[0-9]+)?$"
               if (x[i] !~ num || y[i] !~ num) exit 1
               d = x[i] - y[i]; if (d < 0) d = -d
               if (d > 1e-12) exit 1
           } }
         END { if (FNR != n) exit 1 }' "$1" "$2"
}

# Trusses as kvrtool generate's options, one a line: NAME OPTIONS...
trusses='window       --span 6 --height 1 --panels 7 --area 100 --e 205 --udl 10
point-loads  --span 12.5 --height 1.75 --panels 10 --area 2500 --e 210 --point-load 35.5
members      --span 20 --height 3 --panels 8 --top-area 4000 --btm-area 3500 --web-area 1200 --top-e 205 --btm-e 200 --web-e 70 --udl 7.25
one-panel    --span 3 --height 0.5 --panels 1 --area 100 --e 205 --udl 1
tiny-values  --span 0.001 --height 0.0003 --panels 3 --area 0.01 --e 0.1 --udl 1e-6
many-panels  --span 480 --height 12 --panels 2000 --area 15000 --e 210 --udl 25
howe         --type howe --span 24 --height 3 --panels 9 --area 2500 --e 210 --udl 12.5
warren       --type warren --span 24 --height 2.5 --panels 7 --area 2500 --e 210 --point-load 15
warren-vert  --type warren-verticals --span 18.3 --height 2 --panels 10 --area 2500 --e 210 --udl 7.1
k            --type k --span 60 --height 7.5 --panels 12 --area 6000 --e 210 --udl 40
pratt-roof   --type pratt-roof --span 18 --height 3 --panels 40 --area 800 --e 210 --udl 2.7
howe-roof    --type howe-roof --span 15.7 --height 2.35 --panels 8 --area 900 --e 11 --udl 3.3
fink         --type fink --span 9.6 --height 2.4 --panels 6 --area 1200 --e 10.5 --point-load 2.25
king-post    --type king-post --span 7.2 --height 1.8 --area 10000 --e 11 --udl 1.9
queen-post   --type queen-post --span 10.5 --height 2.1 --panels 4 --area 12000 --e 11 --udl 2.1
fan          --type fan --span 13 --height 3.25 --area 1500 --e 210 --point-load 4.4'

echo "kvrtool.exe against the Linux kvrtool:"
while read -r name options; do
    read -ra opts <<<"$options"
    kvrlinux generate "${opts[@]}" -o "linux/$name.kvr" >"linux/$name.generate"
    kvrexe generate "${opts[@]}" -o "windows/$name.kvr" >"windows/$name.generate"
    sed -i 's|windows/|linux/|' "windows/$name.generate"
    if cmp -s "linux/$name.kvr" "windows/$name.kvr" && cmp -s "linux/$name.generate" "windows/$name.generate"; then
        pass "$name: generate writes the same bytes"
    else
        fail "$name: generate" "$(cmp "linux/$name.kvr" "windows/$name.kvr" 2>&1 | head -1)"
    fi
    # The commands read the Linux file, so the Windows program's reading is
    # tested apart from its writing.
    for command in show "show --csv" check solve "solve --csv" \
        "design --code en1993 --section top=SHS100x100x5 --section bottom=SHS60x60x4 --section web=SHS60x60x4 --csv"; do
        read -ra c <<<"$command"
        kvrlinux "${c[@]}" "linux/$name.kvr" >linux/out; linuxStatus=$?
        kvrexe "${c[@]}" "linux/$name.kvr" >windows/out; windowsStatus=$?
        if [[ $linuxStatus != "$windowsStatus" ]]; then
            fail "$name: $command" "exit status $windowsStatus, on Linux $linuxStatus"
        elif ! same_output linux/out windows/out; then
            fail "$name: $command" "$(diff linux/out windows/out | head -5)"
        else
            pass "$name: $command prints the same"
        fi
    done
    for drawing in "svg" "svg --forces" "dxf" "dxf --forces"; do
        read -r format forces <<<"$drawing"
        kvrlinux draw "linux/$name.kvr" -o "linux/$name$forces.$format" $forces >/dev/null
        kvrexe draw "linux/$name.kvr" -o "windows/$name$forces.$format" $forces >/dev/null
        if cmp -s "linux/$name$forces.$format" "windows/$name$forces.$format"; then
            pass "$name: draw${forces:+ $forces} writes the same ${format^^}"
        else
            fail "$name: draw -o .$format${forces:+ $forces}" "$(cmp "linux/$name$forces.$format" "windows/$name$forces.$format" 2>&1)"
        fi
    done
done <<<"$trusses"
# The section tables, embedded in both programs, list the same sections with
# the same properties.
kvrlinux sections --csv >linux/sections.csv; linuxStatus=$?
kvrexe sections --csv >windows/sections.csv; windowsStatus=$?
if [[ $linuxStatus != 0 || $windowsStatus != 0 ]]; then
    fail "sections --csv" "exit status $windowsStatus, on Linux $linuxStatus"
elif ! same_output linux/sections.csv windows/sections.csv; then
    fail "sections --csv" "$(diff linux/sections.csv windows/sections.csv | head -5)"
else
    pass "sections --csv prints the same $(($(wc -l <linux/sections.csv) - 1)) sections"
fi
# A design file beside the truss: its cases solved, combined and designed for
# alike; written with Windows line ends too, as an editor there may save it.
cat >design.toml <<'TOML'
code = "en1993"
steel = "S355"
[sections]
top = "SHS 100x100x5"
bottom = "SHS 60x60x4"
web = "SHS 60x60x4"
[[case]]
name = "G"
kind = "permanent"
self_weight = true
udl_top = -1.5
[[case]]
name = "Q"
kind = "imposed"
category = "H"
udl_top = -2.0
[[case]]
name = "W"
kind = "wind"
udl_top = 1.2
loads = [ { node = 9, fx = 3.0, fy = 0.0 } ]
TOML
sed 's/$/\r/' design.toml >design-crlf.toml
printf 'code = "en1993"\n[[case]]\nname = "G"\nkind = "dead"\n' >design-broken.toml
designRuns='case          solve linux/window.kvr --design design.toml --case W
combination   solve linux/window.kvr --design design.toml --combination 1.35G+1.5Q
envelope      design linux/window.kvr --design design.toml --csv
crlf          design linux/window.kvr --design design-crlf.toml --csv
combinations  design linux/window.kvr --design design.toml --list-combinations
broken        design linux/window.kvr --design design-broken.toml'
while read -r name arguments; do
    read -ra a <<<"$arguments"
    kvrlinux "${a[@]}" >linux/out 2>&1; linuxStatus=$?
    kvrexe "${a[@]}" >windows/out 2>&1; windowsStatus=$?
    if [[ $linuxStatus == "$windowsStatus" ]] && same_output linux/out windows/out; then
        pass "design file, $name: the same, exit status $windowsStatus"
    else
        fail "design file, $name" "exit status $windowsStatus, on Linux $linuxStatus; $(diff linux/out windows/out | head -3)"
    fi
done <<<"$designRuns"

# A PNG is drawn with the system's fonts, so only its size is the same.
kvrlinux draw linux/window.kvr -o linux/window.png >/dev/null
kvrexe draw linux/window.kvr -o windows/window.png >/dev/null
pngSize() { file -b "$1" | grep -o '[0-9]* x [0-9]*'; }
if [[ -n $(pngSize windows/window.png) && $(pngSize windows/window.png) == $(pngSize linux/window.png) ]]; then
    pass "window: draw writes a PNG of the same size, $(pngSize windows/window.png)"
else
    fail "window: draw PNG" "$(file -b windows/window.png), on Linux $(file -b linux/window.png)"
fi

# Refusals that are the program's own words (not the system's) read the same.
refusals='too-large  generate --span 1e40 --height 1 --panels 7 --area 100 --e 205 --udl 10 -o x.kvr
no-panels  generate --span 6 --height 1 --panels 0 --area 100 --e 205 --udl 10 -o x.kvr
odd-k      generate --type k --span 6 --height 1 --panels 7 --area 100 --e 205 --udl 10 -o x.kvr
truncated  show truncated.kvr
no-family  sections --code aisc360 --family IPE'
head -c 1000 linux/window.kvr >truncated.kvr
while read -r name arguments; do
    read -ra a <<<"$arguments"
    kvrlinux "${a[@]}" >linux/out; linuxStatus=$?
    kvrexe "${a[@]}" >windows/out; windowsStatus=$?
    if [[ $linuxStatus == "$windowsStatus" ]] && cmp -s linux/out windows/out && [[ ! -e x.kvr ]]; then
        pass "$name: refused alike, exit status $windowsStatus"
    else
        fail "$name" "exit status $windowsStatus, on Linux $linuxStatus; $(diff linux/out windows/out | head -3)"
    fi
done <<<"$refusals"

# What is not a file is refused before a byte is read, with a line that says
# what it is; a command that waited instead would end at the guard's 30 s.
mkdir -p windows/a-folder.kvr
kvrexe_guarded() { timeout 30 "$wine" "$kvrtool_exe" "$@" </dev/null 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
nonFiles='NUL                  it is a character device, not a file
windows\a-folder.kvr it is a folder'
while read -r target what; do
    message=$(kvrexe_guarded show "$target"); status=$?
    if [[ $status == 2 && $message == "kvrtool: cannot read $target: $what" ]]; then
        pass "show $target: refused at once, exit status 2, \"$message\""
    else
        fail "show $target" "exit status $status (124: still waiting after 30 s); said: $message"
    fi
done <<<"$nonFiles"

echo "Windows paths and file names:"
window=(--span 6 --height 1 --panels 7 --area 100 --e 205 --udl 10)
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/KVR Dateien/Brücke Ω"
paths=(
    'C:\KVR Dateien\Brücke Ω\Träger №1.kvr'
    'C:/KVR Dateien/Brücke Ω/träger-ü.kvr'
    "Z:${work//\//\\}\\windows\\backslash.kvr"
    'windows\relative.kvr'
)
for path in "${paths[@]}"; do
    said=$(kvrexe generate "${window[@]}" -o "$path")
    # Where the file is as Linux sees it.
    unix=$("$wine" winepath -u "$path" 2>/dev/null | tr -d '\r')
    if [[ $said == "wrote $path: 16 nodes, 30 members" ]] && cmp -s "$unix" linux/window.kvr \
       && kvrexe check "$path" | grep -q '^consistent$'; then
        pass "written, named, read and checked at $path"
    else
        fail "path $path" "said \"$said\"; not written where it names, or not read back"
    fi
done

echo "Saving over a file, and a failed save that keeps the earlier file:"
cp linux/point-loads.kvr windows/replaced.kvr
kvrexe generate "${window[@]}" -o 'windows\replaced.kvr' >/dev/null
if cmp -s windows/replaced.kvr linux/window.kvr && [[ -z $(find windows -name '~*.tmp') ]]; then
    pass "replaced: the earlier file holds the new bytes, no new file left beside it"
else
    fail "replaced" "$(cmp windows/replaced.kvr linux/window.kvr 2>&1); $(find windows -name '~*.tmp')"
fi
cp linux/point-loads.kvr windows/kept.kvr
chmod a-w windows/kept.kvr  # Windows sees the read-only attribute
mkdir windows/folder.kvr
saves='read-only      windows\kept.kvr
folder         windows\folder.kvr
missing-folder windows\nowhere\new.kvr'
while read -r name path; do
    message=$(kvrexe generate "${window[@]}" -o "$path"); status=$?
    left=$(find windows -name '~*.tmp')
    if [[ $status == 0 ]]; then
        fail "$name" "the save said it succeeded"
    elif ! cmp -s windows/kept.kvr linux/point-loads.kvr || [[ -n "$left" ]]; then
        fail "$name" "the earlier file changed, or the new one was left: $left"
    elif [[ $message != "kvrtool: Error while saving file $path: "?* ]]; then
        fail "$name" "said: $message"
    else
        pass "$name: refused, \"$message\""
    fi
done <<<"$saves"
chmod u+w windows/kept.kvr

echo "The window:"
# A generation as the user makes it: the button (the second stop after the
# list), a name typed into the Save dialog, the completion message closed; then
# the window is asked to close as Windows asks (WM_CLOSE). NAME is typed.
generate_in_window() {
    local name=$1 window pid
    "$wine" "$ambrell_exe" >/dev/null 2>&1 &
    pid=$!
    window=$(timeout 60 xdotool search --sync --name '^Kelvor - Ambrell$' | head -n 1)
    if [[ -z $window ]]; then
        fail "Ambrell.exe" "no window captioned \"Kelvor - Ambrell\" within 60 s"
        kill "$pid" 2>/dev/null
        return
    fi
    pass "Ambrell.exe shows its window \"Kelvor - Ambrell\""
    sleep 2
    xdotool windowfocus --sync "$window" key Tab space
    if ! timeout 30 xdotool search --sync --name '^Save$' >/dev/null; then
        fail "Ambrell.exe" "no Save dialog after Generate Truss File"
    else
        sleep 1
        xdotool type --delay 50 "$name"
        xdotool key Return
        timeout 30 xdotool search --sync --name '^Ambrell$' >/dev/null && sleep 1 && xdotool key Return
    fi
    "$wine" taskkill /im Ambrell.exe >/dev/null 2>&1
    if timeout 30 tail --pid="$pid" -f /dev/null && wait "$pid"; then
        pass "Ambrell.exe ends with status 0 when asked to close"
    else
        fail "Ambrell.exe" "did not end cleanly when asked to close"
        kill "$pid" 2>/dev/null
    fi
}
# The Save dialog opens in C:\windows\desktop\KVR where it exists, and in its
# own default folder (the current one) where it does not.
desktopKvr=$drive_c/windows/desktop/KVR
mkdir -p "$desktopKvr"
generate_in_window first
if cmp -s "$desktopKvr/first.kvr" linux/window.kvr; then
    pass "the window wrote C:\windows\desktop\KVR\first.kvr, the same bytes as Linux's"
else
    fail "window's save" "no C:\windows\desktop\KVR\first.kvr, or other bytes: $(ls "$desktopKvr")"
fi
rm -r "$drive_c/windows/desktop"
generate_in_window second
if cmp -s second.kvr linux/window.kvr; then
    pass "without C:\windows\desktop\KVR, the dialog saved second.kvr in the current folder"
else
    fail "window's save" "no second.kvr in the current folder: $(ls)"
fi

echo "The viewer:"
# kvrview.exe opens a truss file named on its command line, as the Explorer
# starts it for a .kvr file, and names it in its caption.
"$wine" "$build/kvrview.exe" 'C:\KVR Dateien\Brücke Ω\Träger №1.kvr' >/dev/null 2>&1 &
viewer=$!
if timeout 60 xdotool search --sync --name '^Tr.+ger .+1\.kvr .+ kvrview$' >/dev/null; then
    pass "kvrview.exe shows 'C:\KVR Dateien\Brücke Ω\Träger №1.kvr' in its window \"Träger №1.kvr – kvrview\""
else
    fail "kvrview.exe" "no window captioned \"Träger №1.kvr – kvrview\" within 60 s"
fi
"$wine" taskkill /im kvrview.exe >/dev/null 2>&1
timeout 30 tail --pid="$viewer" -f /dev/null || kill "$viewer" 2>/dev/null

echo "The installer:"
installed=$drive_c/Program\ Files/Ambrell
menu=$drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Ambrell
# A key's default value, and whether a key is there.
reg() { "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | awk -F'REG_SZ' 'NF > 1 { sub(/^[ \t]+/, "", $2); print $2 }'; }
key() { "$wine" reg query "$1" >/dev/null 2>&1; }
"$wine" "$installer" /S; status=$?
if [[ $status == 0 && -f $installed/Ambrell.exe && -f $installed/kvrtool.exe && -f $installed/kvrview.exe && -f $installed/Uninstall.exe
      && -f $installed/README.md ]]; then
    pass "installs silently into Program Files: $(cd "$installed" && echo *)"
else
    fail "install" "exit status $status; Program Files holds: $(ls "$installed" 2>&1)"
fi
if [[ -f $menu/Ambrell.lnk && -f "$menu/Ambrell Truss Viewer.lnk" && -f $menu/Uninstall\ Ambrell.lnk ]]; then
    pass "Start menu: $(cd "$menu" && echo *)"
else
    fail "Start menu" "$(ls "$menu" 2>&1)"
fi
fileType=$(reg 'HKCR\.kvr')
command=$(reg "HKCR\\$fileType\\shell\\open\\command")
if [[ $fileType == Ambrell.TrussFile && $command == '"C:\Program Files\Ambrell\kvrview.exe" "%1"' ]]; then
    pass ".kvr is registered: $fileType, opened by $command"
else
    fail ".kvr registration" "file type '$fileType', command '$command'"
fi
if "$wine" "C:\\Program Files\\Ambrell\\kvrtool.exe" check 'C:\KVR Dateien\Brücke Ω\Träger №1.kvr' 2>&1 \
   | grep -q '^consistent'; then
    pass "the installed kvrtool.exe runs"
else
    fail "installed kvrtool.exe" "does not run"
fi
"$wine" "C:\\Program Files\\Ambrell\\Uninstall.exe" /S; status=$?
# The uninstaller runs on from a copy of itself.
for _ in $(seq 60); do [[ -e $installed ]] || break; sleep 1; done
if [[ $status == 0 && ! -e $installed && ! -e $menu ]] && ! key 'HKCR\.kvr' && ! key 'HKCR\Ambrell.TrussFile' \
   && ! key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ambrell' && ! key 'HKLM\Software\Ambrell'; then
    pass "uninstalls clean: files, Start menu, file type and uninstall entry gone"
else
    fail "uninstall" "left: $(ls "$installed" "$menu" 2>&1 | tr '\n' ' ') file type '$(reg 'HKCR\.kvr')'"
fi

echo "Windows: $passes passed, $failures failed"
[[ $failures -eq 0 ]]
