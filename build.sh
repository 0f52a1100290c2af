#!/usr/bin/env bash
# ./build.sh run   — install the packages, build, start the program on a demo Data.dat
# ./build.sh test  — install the packages, build, run every test through CTest
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n qt6-charts-dev
  libsqlite3-dev libxlsxwriter-dev libjpeg-dev zlib1g-dev libsodium-dev
  fonts-liberation2 fontconfig libgl-dev
  xvfb xauth
)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
  fi
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build
}

case "${1:-}" in
  run)
    install_packages
    build
    cd build
    exec ./tekvanis
    ;;
  test)
    install_packages
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure
    ;;
  *)
    echo "usage: ./build.sh run | test" >&2
    exit 2
    ;;
esac
