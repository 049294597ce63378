#!/usr/bin/env bash
# Sets up a Debian 12 machine for the Korvel Mavu editor, builds it on Qt 6,
# and then either starts the editor ("run") or runs every test ("test");
# "configure" stops once the build folder is set up (scripts/check.sh needs no
# more). The test command also runs the suite under the sanitizers and on Qt 5.15.
set -euo pipefail

mode=${1:-run}
shift || true
case "$mode" in
    run|test|build|configure) ;;
    *) echo "usage: $0 [run|test|build|configure] [editor arguments...]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MAVU_BUILD_DIR:-$root/build}

# Install only what is missing, so a second run needs no network and no root.
mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$root/scripts/debian-packages.txt")
missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$pkg")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Configure once; the build reconfigures by itself when a CMakeLists changes.
# Configuring every time would make Qt's QML compiler rewrite its resource
# list and relink every program that carries the pages.
# Ninja where it is installed: it starts the next compile sooner than make.
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
configure() { # build-dir [cmake options...]
    [[ -f $1/CMakeCache.txt ]] || cmake -S "$root" "${generator[@]}" -B "$@"
}
if [[ $mode == configure ]]; then
    configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exit 0
fi
# The builds compile the product's sources in batches of 16: each source
# alone would parse Qt's headers again (half a build's time).
batches=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16)
configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${batches[@]}"
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
    test)
        # Most tests wait on timers, servers and child programs rather than
        # the processor, so twice as many run at once as there are cores.
        jobs=$(($(nproc) * 2))
        (cd "$build" && ctest --output-on-failure --timeout 600 -j "$jobs" "$@")
        # Then the same suite again under AddressSanitizer and
        # UndefinedBehaviorSanitizer (clang), with the fuzz targets run for a
        # bounded time (10 s each; scripts/reliability-report.sh runs them long). The package test says nothing more there.
        # MAVU_SANITIZERS=0 leaves this round out for a quicker local run.
        if [[ ${MAVU_SANITIZERS:-1} != 0 ]]; then
            asan=${MAVU_ASAN_BUILD_DIR:-$root/build-asan}
            # -O1 and line tables: what the sanitizers' reports need, in
            # less compile time than the package's -O2 and full debug data.
            CC=clang CXX=clang++ configure "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${batches[@]}" \
                -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
                -DMAVU_SANITIZE=ON -DMAVU_FUZZ=ON -DMAVU_BUILD_BENCH=OFF
            cmake --build "$asan" --parallel "$(nproc)"
            # shellcheck source=scripts/sanitizer-env.sh
            source "$root/scripts/sanitizer-env.sh"
            # Sanitized programs run several times slower: as many at once as
            # there are cores, or the tests bound by timers starve.
            (cd "$asan" && ctest --output-on-failure --timeout 900 -j "$(nproc)" -LE packaging "$@")
        fi
        # Then the suite on Qt 5.15, the toolkit some users' machines still
        # carry (the package is Qt 6's, and the benchmarks run on Qt 6).
        # MAVU_QT5=0 leaves this round out.
        if [[ ${MAVU_QT5:-1} != 0 ]]; then
            qt5=${MAVU_QT5_BUILD_DIR:-$root/build-qt5}
            # Nothing from this build is shipped or debugged: no debug data.
            configure "$qt5" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${batches[@]}" \
                -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" -DMAVU_QT_MAJOR=5 -DMAVU_BUILD_BENCH=OFF
            cmake --build "$qt5" --parallel "$(nproc)"
            (cd "$qt5" && ctest --output-on-failure --timeout 600 -j "$jobs" -LE packaging "$@")
        fi
        ;;
    run)
        # No controller plugged in (no "Korvel Mavu" MIDI port, no update
        # port): the editor runs with its built-in simulated one.
        args=("$@")
        if [[ " $* " != *" --simulator "* ]] \
            && ! "$build/cli/mavuctl" list 2>/dev/null | grep -qE '^(midi-in [0-9]+ Korvel Mavu|update )'; then
            echo "No Korvel Mavu controller found: starting with the simulated one (--simulator)."
            args+=(--simulator)
        fi
        exec "$build/app/korvel-mavu" "${args[@]}"
        ;;
esac
