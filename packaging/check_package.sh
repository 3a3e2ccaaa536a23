#!/usr/bin/env bash
# Builds the package from a configured and built tree and checks it: the files
# it must install, a Depends line that names no build or test tool, its
# licence, a manual page that names what kvrtool --help names, and lintian's
# verdict (no errors, no missing hardening).
#   check_package.sh CPACK BUILD_DIRECTORY
set -euo pipefail
cpack=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cpack" --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/ambrell_*.deb)
echo "built $(basename "$deb")"
failed=0

expected=(
    usr/bin/Ambrell
    usr/bin/kvrtool
    usr/share/applications/ambrell.desktop
    usr/share/metainfo/org.example.Ambrell.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/ambrell.svg
    usr/share/man/man1/Ambrell.1.gz
    usr/share/man/man1/kvrtool.1.gz
    usr/share/doc/ambrell/copyright
    usr/share/doc/ambrell/changelog.gz
    usr/bin/kvrview
    usr/share/applications/kvrview.desktop
    usr/share/metainfo/org.example.kvrview.metainfo.xml
    usr/share/mime/packages/ambrell.xml
    usr/share/thumbnailers/ambrell.thumbnailer
    usr/share/man/man1/kvrview.1.gz
)
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/ambrell.png")
done
contents=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||')
for path in "${expected[@]}"; do
    grep -qxF "$path" <<<"$contents" || { echo "missing from the package: /$path"; failed=1; }
done

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || { echo "Depends does not name Qt Widgets"; failed=1; }
tools=$(tr ',' '\n' <<<"$depends" | grep -E -e '-dev|clang|gtest|benchmark|cmake|ninja|xvfb|xdotool|imagemagick|lintian|g\+\+' || true)
[[ -z "$tools" ]] || { echo "Depends names build or test tools: $tools"; failed=1; }

root=$work/root
dpkg-deb -x "$deb" "$root"
grep -qx 'License: Expat' "$root/usr/share/doc/ambrell/copyright" || { echo "the copyright file names no Expat licence"; failed=1; }

# Every command and option of kvrtool's help is in its manual page, and no
# bold or italic word there is followed by a lone comma (".B --x ," renders
# "--x ,").
page=$(zcat "$root/usr/share/man/man1/kvrtool.1.gz")
help=$("$root/usr/bin/kvrtool" --help)
for command in $(sed -n '/^commands:/,$s/^  \([a-z]*\) .*/\1/p' <<<"$help"); do
    help+=$'\n'$("$root/usr/bin/kvrtool" "$command" --help)
    grep -qw -- "$command" <<<"$page" || { echo "kvrtool(1) leaves out the command $command"; failed=1; }
done
for option in $(grep -oE -- '(^| |,)--?[a-z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u); do
    grep -qF -- "${option//-/\\-}" <<<"$page" || { echo "kvrtool(1) leaves out $option"; failed=1; }
done
if grep -nE '^\.(B|I) .* [,.;:]$' <<<"$page"; then echo "kvrtool(1): a stray space before the punctuation above"; failed=1; fi

lintian=$(lintian --fail-on error --tag-display-limit 0 -I "$deb" 2>&1) || { echo "$lintian"; echo "lintian reports errors"; failed=1; }
if grep -E 'hardening-' <<<"$lintian"; then echo "the programs are not built with Debian's hardening flags"; failed=1; fi
exit "$failed"
