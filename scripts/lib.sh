# Shared set-up for scripts/run, scripts/test and scripts/bench: install what is missing,
# configure and build. Sourced, not run.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${MOJUAN_BUILD:-$ROOT/build}

# Debian packages the build, the tests and the benchmarks need.
PACKAGES=(cmake g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          libjpeg62-turbo-dev libsqlite3-dev libzip-dev libfontconfig-dev fonts-arphic-uming
          fonts-hanazono fonts-symbola
          zip unzip python3 qt6-translations-l10n)

install_missing_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Extra cache options for a build of its own (CI's sanitizer build sets them with MOJUAN_BUILD).
read -r -a EXTRA_CMAKE_OPTIONS <<<"${MOJUAN_CMAKE_OPTIONS:-}"

configure() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOJUAN_BENCH=ON ${EXTRA_CMAKE_OPTIONS[@]+"${EXTRA_CMAKE_OPTIONS[@]}"} >/dev/null
}

# configure_and_build [TARGET...]: every target when none is named. The same options every
# time, so that scripts/run, scripts/test and scripts/acceptance share one build without ever
# changing what the others build.
configure_and_build() {
    configure
    if [ $# -eq 0 ]; then
        cmake --build "$BUILD" -j2
    else
        cmake --build "$BUILD" -j2 --target "$@"
    fi
}
