#!/usr/bin/env bash
# Installs the Debian packages the project needs, and any named on the
# command line, only those missing: scripts/install.sh [PACKAGE...]
# Run as root.
set -euo pipefail

packages=(
  qt6-base-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev libbenchmark-dev
  cmake ninja-build g++ pkg-config xvfb xauth xdotool imagemagick
  dpkg-dev file desktop-file-utils appstream shared-mime-info libglib2.0-bin
  lintian man-db groff-base bash-completion gettext
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
