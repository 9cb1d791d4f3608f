#!/usr/bin/env bash
# Launcher.exe must run on a bare Windows: a 32-bit GUI image, stripped,
# importing only DLLs that every Windows installation has.
set -u
export LC_ALL=C  # the messages grepped below are the untranslated ones
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
status=0
grep -q '^Magic.*PE32)' <<<"$dump" || { echo "not a 32-bit PE image"; status=1; }
grep -q 'Subsystem.*Windows GUI' <<<"$dump" || { echo "not a GUI program"; status=1; }
i686-w64-mingw32-objdump -t "$exe" 2>&1 | grep -q 'no symbols' || { echo "symbol table present: link with -s"; status=1; }
allowed='^(kernel32|user32|gdi32|gdiplus|comctl32|ole32|oleaut32|shell32|shlwapi|ws2_32|wininet|msvcrt|advapi32)\.dll$'
while read -r dll; do
  grep -Eqi "$allowed" <<<"$dll" || { echo "imports a non-system DLL: $dll"; status=1; }
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
[ $status -eq 0 ] && echo "Launcher.exe: 32-bit GUI, stripped, system DLLs only"
exit $status
