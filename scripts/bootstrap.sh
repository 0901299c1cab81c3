#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that the build and the tests need (only the missing ones).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-dev llvm  # the sanitized test build: compiler, sanitizer runtimes, llvm-symbolizer
  libgtest-dev googletest
  qpdf poppler-utils mupdf-tools python3-ezdxf hp2xx tmux
  strace                  # system calls made to fail in the fault tests
  qt6-base-dev xvfb xauth xdg-utils cups-client xterm x11-apps netpbm
  openbox x11-utils       # the window tests on a desktop: a window manager, and xprop to wait for it
  python-matplotlib-data  # the standard font metrics that the font width tables are made from
  wbritish                # the English word list that the spell checker's dictionary is made from
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
