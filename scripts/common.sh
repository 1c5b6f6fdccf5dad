# Shared by scripts/test and scripts/demo: installs the Debian packages a
# command needs, only those that are missing, and says which.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
        grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    echo "== All needed Debian packages are present: $*"
    return
  fi
  echo "== Installing missing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" \
    >/dev/null
}

# What building the Windows program needs.
WINDOWS_BUILD_PACKAGES=(cmake make python3 g++-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)
# What running it under Wine needs.
WINE_PACKAGES=(wine wine64)
