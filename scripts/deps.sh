#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Brivola need, only those missing.
set -euo pipefail
PKGS=(g++ cmake ninja-build qt6-base-dev libgl-dev firebird-dev libfbclient2 firebird3.0-server-core
      firebird3.0-utils libxlsxwriter-dev libgcrypt20-dev poppler-utils fonts-dejavu-core)
missing=()
for p in "${PKGS[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
