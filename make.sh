#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine: installs the Debian packages that are
# missing, configures and builds, then runs the program or the tests.
#
#   ./make.sh setup   only install the missing Debian packages
#   ./make.sh run     build the program (without the tests) and start it
#   ./make.sh test    check the style, build, then run every test (sanitizer build with fuzzing, then
#                     ctest, then the Debian package: lintian, installed, driven as an ordinary user, removed)
#   ./make.sh package build the Debian package build/tremira_<version>_amd64.deb
#   ./make.sh fast    build, then run only the fast tests (no e2e, no fuzzing)
#   ./make.sh bench   build the benchmarks and run them
#   ./make.sh fuzz N  fuzz the calculation for N seconds (default 600)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config git locales
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n
  fonts-dejavu-core fonts-liberation
  libchm-dev libxcb1-dev libwayland-dev libdbus-1-dev fp-utils xdg-utils
  cups printer-driver-cups-pdf poppler-utils qpdf
  xvfb xauth xdotool x11-utils imagemagick python3 xclip adwaita-qt6 weston
  at-spi2-core python3-pyatspi dbus-daemon dbus-bin
  hyperfine
  dpkg-dev file lintian desktop-file-utils appstream librsvg2-bin
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

build_jobs() { nproc; }

werror_flag() {
  if [ "${CI:-}" = true ]; then echo -DTREMIRA_WERROR=ON; else echo -DTREMIRA_WERROR=OFF; fi
}

# Every tracked C++ file in the one style of .clang-format.
check_style() {
  git ls-files -z '*.cpp' '*.h' ':!help/content' | xargs -0 clang-format --dry-run -Werror
}

# $1: ON with the tests, OFF for the program alone. Given every time: run and test share build/,
# and a test run must never find the tests switched off by an earlier start.
build_main() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$(werror_flag)" -DBUILD_TESTING="$1" >/dev/null
  cmake --build build -j "$(build_jobs)"
}

# The whole project again under AddressSanitizer and UndefinedBehaviorSanitizer with clang,
# with the libFuzzer targets.
build_sanitized() {
  CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo "$(werror_flag)" \
    -DTREMIRA_SANITIZE=ON -DTREMIRA_FUZZ=ON >/dev/null
  cmake --build build-san -j "$(build_jobs)"
}

# Every test but the end-to-end runs, the process tests with the sanitized program, and the
# fuzzing. Leaks inside system libraries are listed in tests/lsan.supp; a leak with a frame of
# the program is never suppressed.
test_sanitized() {
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    ctest --test-dir build-san --output-on-failure -j "$(build_jobs)" -LE e2e
}

# Every test of the normal build: the end-to-end runs one at a time, as each drives the program
# against timeouts on an X server of its own; the others two at a time, as in the sanitizer build.
# The end-to-end runs also run when another test failed, so that one run reports every failure.
test_main() {
  local status=0
  ctest --test-dir build --output-on-failure -j "$(build_jobs)" -LE e2e || status=1
  ctest --test-dir build --output-on-failure -L e2e || status=1
  return "$status"
}

build_package() {
  cmake --build build --target package
}

package_file() {
  echo "build/tremira_$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)_amd64.deb"
}

# The installed program is tested by a user who cannot write in /usr/bin, as a desktop user.
TEST_USER=tremira-test

# Runs the installed program's scenario as the caller, or as TEST_USER (made when missing) when
# the caller is root. It runs from a copy in /tmp, which that user can read wherever the
# checkout lies; the copy stays, with the screenshots, when the scenario fails.
run_installed_scenario() {
  local work
  work=$(mktemp -d /tmp/tremira-installed.XXXXXX)
  mkdir -p "$work/e2e" "$work/tests" "$work/artifacts"
  cp e2e/*.py "$work/e2e"
  cp -r tests/data "$work/tests/"
  chmod 755 "$work"
  if [ "$(id -u)" -eq 0 ]; then
    id -u "$TEST_USER" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$TEST_USER"
    chown "$TEST_USER" "$work/artifacts"
    runuser -u "$TEST_USER" -- python3 -B "$work/e2e/installed.py" --artifacts "$work/artifacts"
  else
    python3 -B "$work/e2e/installed.py" --artifacts "$work/artifacts"
  fi
  rm -rf "$work"
}

# The package as a user gets it: no lintian error; installed with apt, the installed program
# passes its scenario; removed again whatever the outcome.
check_installed_package() {
  local deb
  deb=$(package_file)
  lintian --fail-on error "$deb"
  trap 'as_root apt-get purge -y -qq tremira' EXIT
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb"
  run_installed_scenario
}

build_bench() {
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTREMIRA_BENCH=ON >/dev/null
  cmake --build build-bench -j "$(build_jobs)"
}

command=${1:-}
case "$command" in
  setup)
    install_missing_packages
    ;;
  run)
    install_missing_packages
    build_main OFF
    exec build/bin/tremira
    ;;
  test)
    install_missing_packages
    check_style
    build_sanitized
    build_main ON
    test_sanitized
    test_main
    build_package
    check_installed_package
    ;;
  package)
    install_missing_packages
    build_main ON
    build_package
    ;;
  fast)
    install_missing_packages
    build_main ON
    ctest --test-dir build --output-on-failure -j "$(build_jobs)" -LE e2e
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
    echo "usage: $0 setup|run|test|fast|package|bench|fuzz [seconds]" >&2
    exit 2
    ;;
esac
