# Shared by scripts/run and scripts/test. Sourced, not run.

KORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KORA_BUILD="${KORA_BUILD:-$KORA_ROOT/build}"

# Debian packages needed to build, test and run KORA.
KORA_PACKAGES=(
  cmake g++ make pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5sql5-sqlite libqt5opengl5-dev
  libqt5svg5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
  libqwt-qt5-dev libglu1-mesa-dev libgl1-mesa-dri xvfb xauth
  fonts-dejavu-core fonts-wqy-microhei
  xvfb xauth
  poppler-utils libreoffice-writer-nogui
)

kora_log() { printf '[kora] %s\n' "$*"; }

# Installs whatever is missing; installs nothing when all are present.
kora_install_packages() {
  local missing=() p
  for p in "${KORA_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  kora_log "installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      kora_log "missing packages and not root (no sudo): ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq || return 1
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}

# Configures (once) and builds everything in Release with two jobs.
kora_build() {
  if [ ! -f "$KORA_BUILD/CMakeCache.txt" ]; then
    cmake -S "$KORA_ROOT" -B "$KORA_BUILD" -DCMAKE_BUILD_TYPE=Release || return 1
  fi
  cmake --build "$KORA_BUILD" -j2 "$@"
}
