#!/usr/bin/env bash
# A launcher branded by launcher-pack (the Windows build, under Wine) with an
# icon and version information, checked with Debian's icoutils, signed last
# with osslsigncode and a certificate made here, verified, inspected, started
# under Wine with its skin, and branded again with --replace, which cuts the
# signature and says so.
#   signed_launcher_test.sh launcher-pack.exe Launcher.exe branding_tests.exe demo-skin wine-run
set -euo pipefail
pack=$1 launcher=$2 probe=$3 skin=$4 wine_run=$5
work=$(mktemp -d /tmp/signed-launcher.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }

convert -size 32x32 xc:red \( -size 16x16 xc:blue \) game.ico
"$wine_run" "$pack" pack "$(winpath "$skin")" --from-utf8 --exe "$(winpath "$launcher")" -o "$(winpath "$work/Game.exe")" \
  --icon "$(winpath "$work/game.ico")" --product-name "Star Sea" --file-version 1.2.3.4 >pack.log ||
  { cat pack.log; fail "pack"; }

# icoutils lists the new group, its two images and the version information,
# and gives back the icon as it was packed.
wrestool -l Game.exe >resources.txt
grep -q -- '--type=14 --name=128 ' resources.txt || { cat resources.txt; fail "no icon group 128"; }
[ "$(grep -c -- '--type=3 ' resources.txt)" -eq 2 ] || { cat resources.txt; fail "not the two icon images"; }
grep -q -- '--type=16 --name=1 ' resources.txt || { cat resources.txt; fail "no version information"; }
wrestool -x --type=14 --name=128 Game.exe >extracted.ico
[ "$(icotool -l extracted.ico)" = "$(icotool -l game.ico)" ] || fail "the icon read back differs"

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Launcher Test Publisher" >/dev/null 2>&1
osslsigncode sign -certs cert.pem -key key.pem -n "Star Sea" -in Game.exe -out Signed.exe >sign.log 2>&1 ||
  { cat sign.log; fail "sign"; }
osslsigncode verify -CAfile cert.pem -in Signed.exe >verify.log 2>&1 || { cat verify.log; fail "verify"; }
grep -q "Signature verification: ok" verify.log || { cat verify.log; fail "verify"; }

"$wine_run" "$pack" inspect "$(winpath "$work/Signed.exe")" >inspect.log || { cat inspect.log; fail "inspect"; }
grep -q 'config/cg.txt' inspect.log || { cat inspect.log; fail "inspect lists no configuration"; }
grep -q '^signature: Authenticode, a certificate table of ' inspect.log || { cat inspect.log; fail "inspect sees no signature"; }

# One named test, which must have run and passed: a filter that matched
# nothing would pass too.
LAUNCHER_SIGNED_EXE=$(winpath "$work/Signed.exe") "$wine_run" "$probe" --gtest_filter='SignedLauncher.StartsWithItsSkin' \
  >start.log || { cat start.log; fail "the signed launcher did not start with its skin"; }
grep -q '^\[       OK \] SignedLauncher.StartsWithItsSkin ' start.log && grep -q '^\[  PASSED  \] 1 test\.' start.log ||
  { cat start.log; fail "the start of the signed launcher was never tried"; }

"$wine_run" "$pack" pack "$(winpath "$skin")" --from-utf8 --replace --exe "$(winpath "$work/Signed.exe")" \
  -o "$(winpath "$work/Again.exe")" --icon "$(winpath "$work/game.ico")" --file-version 1.2.3.5 >again.log ||
  { cat again.log; fail "pack --replace on the signed exe"; }
grep -q "the package and the signature .* were cut first" again.log || { cat again.log; fail "no word of the signature"; }

osslsigncode verify -CAfile cert.pem -in Again.exe >/dev/null 2>&1 && fail "Again.exe still claims a signature"
wrestool -l Again.exe | grep -q -- '--type=14 --name=128 ' || fail "Again.exe lost its icon"
"$wine_run" "$pack" inspect "$(winpath "$work/Again.exe")" >inspect-again.log || { cat inspect-again.log; fail "inspect Again.exe"; }
grep -q '^signature: none' inspect-again.log || { cat inspect-again.log; fail "inspect still sees a signature in Again.exe"; }
echo "signed launcher: branded, listed, signed, verified, started, branded again"
