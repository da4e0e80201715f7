#!/usr/bin/env bash
# Signs a Windows program with Authenticode (SHA-256) using osslsigncode.
#   scripts/sign.sh IN.exe OUT.exe
# The certificate comes from the environment:
#   SIGN_CERT=cert.pem SIGN_KEY=key.pem      certificate chain and private key, or
#   SIGN_PFX=bundle.pfx                      both in one PKCS#12 file;
#   SIGN_PASS=...                            the key's (or the .pfx's) password, if any;
#   SIGN_TIMESTAMP=https://...               an RFC 3161 time-stamp server (off by default).
# Without a time-stamp server the signing time is SOURCE_DATE_EPOCH, so that
# signing the same exe with the same key gives the same bytes.
set -euo pipefail
in=$1
out=$2

args=(sign -h sha256 -n Tivrelon)
if [ -n "${SIGN_PFX:-}" ]; then
  args+=(-pkcs12 "$SIGN_PFX")
elif [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ]; then
  args+=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
else
  echo "sign: give SIGN_CERT and SIGN_KEY, or SIGN_PFX" >&2
  exit 2
fi

# The password goes through a private file, not the command line that any
# user of the machine can list.
pass=""
cleanup() { if [ -n "$pass" ]; then rm -f "$pass"; fi; }
trap cleanup EXIT
if [ -n "${SIGN_PASS:-}" ]; then
  pass=$(umask 077 && mktemp)
  printf '%s' "$SIGN_PASS" >"$pass"
  args+=(-readpass "$pass")
fi

if [ -n "${SIGN_TIMESTAMP:-}" ]; then
  args+=(-ts "$SIGN_TIMESTAMP")
elif [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  args+=(-time "$SOURCE_DATE_EPOCH")
fi

rm -f "$out"
osslsigncode "${args[@]}" -in "$in" -out "$out" >/dev/null
