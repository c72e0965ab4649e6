#!/bin/bash
# The release ZIP holds exactly the program, its two sounds and the read-me;
# its tavrel.exe is byte for byte the one the other tests ran (the build's,
# and the copy beside the end-to-end driver); and the program unpacked from it
# into a folder of its own starts under Wine, shows its windows and ends (the
# Release suite of the end-to-end driver).
set -euo pipefail
usage="usage: release_test.sh RELEASE.zip tavrel_e2e.exe tavrel.exe"
zip=${1:?$usage}
driver=${2:?$usage}
built=${3:?$usage}
here=$(cd "$(dirname "$0")" && pwd)

[ -f "$zip" ] || { echo "no release ZIP at $zip: build the 'release' target first"; exit 1; }

expected="README.txt click.wav key.wav tavrel.exe"
listed=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
if [ "$listed" != "$expected" ]; then
    echo "the ZIP holds: $listed"
    echo "expected:      $expected"
    exit 1
fi
echo "the ZIP holds exactly: $listed"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$folder"

for tested in "$built" "$(dirname "$driver")/tavrel.exe"; do
    cmp -s "$folder/tavrel.exe" "$tested" || { echo "the ZIP's tavrel.exe is not $tested, the exe the tests ran"; exit 1; }
done
echo "the ZIP's tavrel.exe is the exe the tests ran: $(sha256sum <"$built" | cut -c1-16)"

readme="$folder/README.txt"
version=$(basename "$zip" | sed -n 's/^tavrel-\(.*\)-win\(32\|64\)\.zip$/\1/p')
grep -q "^Tavrel $version"$'\r'"\$" "$readme" || { echo "README.txt does not start with 'Tavrel $version' and Windows line ends"; exit 1; }
if grep -q '@[A-Z_]*@' "$readme"; then echo "README.txt has a placeholder left in it"; exit 1; fi
if grep -v -q $'\r$' "$readme"; then echo "README.txt has lines without Windows line ends"; exit 1; fi
for word in Record Stop Play Save Load Preview warranty together WINEPREFIX; do
    grep -q "$word" "$readme" || { echo "README.txt does not mention '$word'"; exit 1; }
done

export WINEPREFIX=${TAVREL_WINEPREFIX:?TAVREL_WINEPREFIX names the test Wine prefix}
windows_folder=$(WINEDEBUG=-all winepath -w "$folder" 2>/dev/null)
out=$(mktemp)
trap 'rm -rf "$folder" "$out"' EXIT
set +e
TAVREL_RELEASE_FOLDER="$windows_folder" "$here/../../scripts/wine-run.sh" "$driver" --gtest_filter='Release.*' 2>&1 | tee "$out"
status=${PIPESTATUS[0]}
set -e
# A renamed or skipped suite must not pass for a started program.
grep -q '^\[       OK \] Release\.' "$out" || { echo "the Release suite did not run to success"; exit 1; }
exit "$status"
