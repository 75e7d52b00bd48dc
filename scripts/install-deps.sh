#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests and the GUI need.
# Runs apt-get only for packages that are missing, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev googletest
  libfltk1.3-dev fonts-wqy-microhei libpng-dev
  xvfb xauth x11-apps imagemagick xdotool
  procps  # ps: the pre-processor's GUI test follows the programs it starts
  python3-meshio  # the tests read the solver's VTU file back with it
  clang libclang-rt-14-dev  # the readers' fuzzers (scripts/fuzz.sh)
  libsuitesparse-dev libopenblas-dev  # the solver's sparse direct path and its BLAS
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
