#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine: installs the Debian packages that are
# missing, configures and builds, then runs the program or the tests.
#
#   ./make.sh setup   only install the missing Debian packages
#   ./make.sh run     build and start the program
#   ./make.sh test    check the style, build, then run every test (sanitizer build with fuzzing, then ctest)
#   ./make.sh fast    build, then run only the fast tests (no e2e, no fuzzing)
#   ./make.sh bench   build the benchmarks and run them
#   ./make.sh fuzz N  fuzz the calculation for N seconds (default 600)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config git locales
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
  fonts-dejavu-core fonts-liberation
  libchm-dev fp-utils xdg-utils
  cups printer-driver-cups-pdf poppler-utils
  xvfb xauth xdotool x11-utils imagemagick python3 xclip
  hyperfine
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

jobs() { nproc; }

werror_flag() {
  if [ "${CI:-}" = true ]; then echo -DTREMIRA_WERROR=ON; else echo -DTREMIRA_WERROR=OFF; fi
}

# Every tracked C++ file in the one style of .clang-format.
check_style() {
  git ls-files -z '*.cpp' '*.h' ':!help/content' | xargs -0 clang-format --dry-run -Werror
}

build_main() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$(werror_flag)" >/dev/null
  cmake --build build -j "$(jobs)"
}

# The calculation core again under AddressSanitizer and UndefinedBehaviorSanitizer, with
# the libFuzzer targets (clang only).
build_sanitized() {
  CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo "$(werror_flag)" \
    -DTREMIRA_CALC_ONLY=ON -DTREMIRA_SANITIZE=ON -DTREMIRA_FUZZ=ON >/dev/null
  cmake --build build-san -j "$(jobs)"
}

build_bench() {
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTREMIRA_BENCH=ON >/dev/null
  cmake --build build-bench -j "$(jobs)"
}

command=${1:-}
case "$command" in
  setup)
    install_missing_packages
    ;;
  run)
    install_missing_packages
    build_main
    exec build/bin/tremira
    ;;
  test)
    install_missing_packages
    check_style
    build_sanitized
    build_main
    ctest --test-dir build-san --output-on-failure -j "$(jobs)"
    ctest --test-dir build --output-on-failure
    ;;
  fast)
    install_missing_packages
    build_main
    ctest --test-dir build --output-on-failure -j "$(jobs)" -LE e2e
    ;;
  bench)
    install_missing_packages
    build_bench
    bench/run.sh build-bench
    ;;
  fuzz)
    install_missing_packages
    build_sanitized
    fuzz/run.sh build-san "${2:-600}"
    ;;
  *)
    echo "usage: $0 setup|run|test|fast|bench|fuzz [seconds]" >&2
    exit 2
    ;;
esac
