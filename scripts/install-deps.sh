#!/usr/bin/env bash
# Installs with apt whatever building and testing Tunebalk needs that is not installed yet.
# Runs as root or through sudo; does nothing (and needs neither) when all is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest          # native build and unit tests
    clang libclang-rt-dev                     # the fuzz preset
    g++-mingw-w64-x86-64-posix                # the Windows build
    wine wine64 fonts-wine                    # running it (Tahoma comes with fonts-wine)
    # libraries Wine's X11 driver loads when present; recommended, not required, by Wine
    libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3
    libxxf86vm1 libgnutls30 fonts-liberation
    xvfb xauth xdotool imagemagick            # a virtual screen, window lookups, screenshots
    nsis zip unzip                            # the setup program and the portable zip
    python3                                   # redrawing the pictures to check them
    clang-format                              # checking the sources' formatting
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "[install-deps] installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "[install-deps] missing packages and neither root nor sudo: ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    --no-install-recommends "${missing[@]}"
