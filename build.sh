#!/usr/bin/env bash
# ./build.sh run      — install the packages, build, start the program on its data folder
# ./build.sh test     — install the packages, build, run every test through CTest
# ./build.sh install  — install the packages, build, install the program under /usr/local
#                       (PREFIX=/another/place ./build.sh install for another place)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n qt6-charts-dev
  libsqlite3-dev libxlsxwriter-dev libjpeg-dev zlib1g-dev libsodium-dev
  libmdb3 mdbtools-dev mdbtools
  fonts-liberation2 fontconfig libgl-dev
  poppler-utils unzip
  desktop-file-utils appstream
  libpq-dev
)
# The tests start a PostgreSQL server of their own; a desk that only runs the
# program needs nothing but the client library above.
SERVER_PACKAGES=(postgresql-15)
PREFIX="${PREFIX:-/usr/local}"

# Runs a command as root: directly when we are root, else through sudo
# (which would drop DEBIAN_FRONTEND on its own).
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo env DEBIAN_FRONTEND="$DEBIAN_FRONTEND" "$@"
  fi
}

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    echo "Eksik paketler var ve sudo yok. Şu satırı root olarak çalıştırıp komutu yeniden verin:" >&2
    echo "apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update
  as_root apt-get install -y "${missing[@]}"
}

build() {
  # A compiler cache, where the machine has one, makes rebuilds of a fresh clone quick.
  local launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX="$PREFIX" "${launcher[@]}"
  cmake --build build
}

case "${1:-}" in
  run)
    install_packages
    build
    # The records live in the user's data folder, never in build/. A new
    # folder starts with the demo books; a folder whose Data.dat was moved
    # away makes the program offer empty books.
    folder="${XDG_DATA_HOME:-$HOME/.local/share}/tekvanis"
    if [ ! -d "$folder" ]; then
      mkdir -p "$folder"
      build/tekvanis-initdb "$folder/Data.dat" --demo
    fi
    exec build/tekvanis --folder "$folder"
    ;;
  test)
    install_packages "${SERVER_PACKAGES[@]}"
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure
    ;;
  install)
    install_packages
    build
    if [ -w "$PREFIX" ] || [ "$(id -u)" -eq 0 ]; then
      cmake --install build --prefix "$PREFIX"
    elif command -v sudo >/dev/null 2>&1; then
      sudo cmake --install build --prefix "$PREFIX"
    else
      echo "$PREFIX klasörüne yazılamıyor ve sudo yok. Şu satırı root olarak çalıştırın:" >&2
      echo "cmake --install $(pwd)/build --prefix $PREFIX" >&2
      exit 1
    fi
    ;;
  *)
    echo "usage: ./build.sh run | test | install" >&2
    exit 2
    ;;
esac
