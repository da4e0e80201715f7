#!/usr/bin/env bash
# Signs the built exe the way `make dist` does, with a throw-away self-signed
# certificate, and checks what a user's machine would: the signature verifies
# with that certificate as the trusted root, signing twice gives the same
# bytes, and the signed exe still passes every exe-level test.
#   scripts/sign-check.sh TIVRELON_EXE EXE_TESTS TEST_ICONS_DLL WORK_DIR
# Run inside the tests' Wine session (scripts/wine-session.sh).
set -euo pipefail
exe=$1 tests=$2 icons=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work"
mkdir -p "$work/tests"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout "$work/key.pem" -out "$work/cert.pem" \
  -subj "/CN=Tivrelon test signing/O=Tivrelon" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" 2>/dev/null

export SIGN_CERT="$work/cert.pem" SIGN_KEY="$work/key.pem" SOURCE_DATE_EPOCH=$(date +%s)
"$here/sign.sh" "$exe" "$work/Tivrelon.exe"
"$here/sign.sh" "$exe" "$work/again.exe"
cmp -s "$work/Tivrelon.exe" "$work/again.exe" || { echo "signing the same exe twice gave different bytes"; exit 1; }
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/Tivrelon.exe" >"$work/verify.log" 2>&1 ||
  { cat "$work/verify.log"; echo "the signed exe does not verify"; exit 1; }
grep -E '^(Message digest algorithm|Signature verification)' "$work/verify.log"

# The exe tests start the Tivrelon.exe of their folder's parent.
cp "$tests" "$icons" "$work/tests/"
wine "$work/tests/$(basename "$tests")"
