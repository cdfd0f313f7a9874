#!/usr/bin/env bash
# Signs Windows programs in place with osslsigncode (Authenticode, SHA-256).
#   scripts/windows-sign.sh CERT KEY FILE.exe...     CERT and KEY in PEM (or CERT as .spc, KEY as .pvk)
#   scripts/windows-sign.sh --check                  signs a copy of a small program with a throwaway
#                                                    self-signed certificate and verifies it
set -euo pipefail
command -v osslsigncode >/dev/null || { echo "windows-sign.sh: osslsigncode missing (scripts/deps.sh --windows)" >&2; exit 127; }
sign() {
  local cert="$1" key="$2"; shift 2
  for f in "$@"; do
    osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n "vq-update" -in "$f" -out "$f.signed" >/dev/null
    mv "$f.signed" "$f"
    echo "signed $f"
  done
}
if [ "${1:-}" = "--check" ]; then
  shift
  tmp="$(mktemp -d)"
  trap 'rm -rf "$tmp"' EXIT
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=vq-update test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
  for f in "$@"; do
    cp "$f" "$tmp/$(basename "$f")"
    sign "$tmp/cert.pem" "$tmp/key.pem" "$tmp/$(basename "$f")" >/dev/null
    osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/$(basename "$f")" >"$tmp/verify.txt" 2>&1 ||
      { cat "$tmp/verify.txt" >&2; echo "windows-sign.sh: $f: the signature does not verify" >&2; exit 1; }
    echo "signature verified: $(basename "$f")"
  done
  exit 0
fi
[ $# -ge 3 ] || { echo "usage: windows-sign.sh CERT KEY FILE.exe... | --check FILE.exe..." >&2; exit 2; }
sign "$@"
