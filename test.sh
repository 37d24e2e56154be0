#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the same
# tests in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${ORVANE_BUILD_PACKAGES[@]}" "${ORVANE_TEST_PACKAGES[@]}"

export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
chmod 0700 "$XDG_RUNTIME_DIR"

# A build folder is configured once: after that ninja runs cmake again itself when a CMakeLists.txt
# changes, so a second run of this script goes straight to the build.
build() { # dir [cmake options...]
    local dir=$1
    shift
    [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}

build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A short run of every fuzz target (tests/fuzz), built with clang and libFuzzer in build-fuzz/,
# at a lower priority beside the tests, which mostly wait (on time-outs, a sound server, a
# child program) and so leave a core free.
fuzz=
if command -v clang++-14 >/dev/null &&
   compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-*.a' >/dev/null; then
    FUZZ_JOBS=2 nice -n 10 scripts/fuzz.sh all 15 &
    fuzz=$!
else
    echo "Fuzz targets skipped: clang++-14 or libFuzzer (package libfuzzer-14-dev) is not installed."
fi

# Every Qt Test class is a test of its own: they run side by side, one a core.
jobs=$(nproc)
(cd build && ctest --output-on-failure -j"$jobs")
if [ -n "$fuzz" ]; then
    wait "$fuzz"
fi

# The sanitizer build builds what its tests need, not the tools (see tools/CMakeLists.txt).
build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON
# Qt and the font libraries keep caches until exit; leak reports would be their noise.
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")
