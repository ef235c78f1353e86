# Sourced by the run and test scripts: makes sure the Debian packages they need are present.
# As root it installs what is missing; otherwise it prints the exact apt-get line and stops.

require_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ "${#missing[@]}" -eq 0 ] && return 0

  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing the missing packages: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "Vantor needs these Debian packages. Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
}

# What every build needs: compiler, build tools, Qt 6 Widgets, hamlib, SQLite, netCDF and the NATS
# client; the coastlines the map draws, which the tests read; and the NATS server they start.
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev pkg-config libhamlib-dev libsqlite3-dev
  libnetcdf-dev gmt-gshhg-low nats-server libnats-dev)
