# Debian packages the build and the tests need; sourced by test.sh and run.sh.
Z4_PACKAGES=(cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  libpugixml-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 xvfb xdotool imagemagick
  fonts-liberation2 x11-utils python3)

z4_install_deps() {
  local missing=()
  for p in "${Z4_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}
