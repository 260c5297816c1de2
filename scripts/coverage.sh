#!/usr/bin/env bash
# Measures what the test suite is worth against its size: line coverage of
# src/ by the whole suite (a coverage build in ./build-coverage, or
# $QW_COVERAGE_DIR) and the code lines of tests/ against src/ as cloc counts
# them. Prints both; extra arguments go to ctest (for example -R NAME).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QW_COVERAGE_DIR:-$root/build-coverage}
"$root/scripts/install-deps.sh"
for tool in lcov cloc; do
  command -v "$tool" >/dev/null || { echo "coverage.sh needs $tool (apt-get install $tool)" >&2; exit 1; }
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Coverage -DQUILLWAVE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
find "$build" -name '*.gcda' -delete
export QTWEBENGINE_DISABLE_SANDBOX=1
(cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest -j2 "$@") || true

# The build compiles src/ from $build/src, and ccache's base folder makes
# the recorded paths relative to it.
lcov --quiet --capture --directory "$build" --base-directory "$build/src" \
     --output-file "$build/all.info" --ignore-errors gcov,source >/dev/null 2>&1
lcov --quiet --extract "$build/all.info" "$root/src/*" --output-file "$build/src.info" >/dev/null
echo "Line coverage of src/:"
lcov --summary "$build/src.info" 2>&1 | grep -E "lines"

code_lines() {
  cloc --quiet --include-lang="C++,C/C++ Header" --csv "$1" | awk -F, '$2=="SUM"{print $5}'
}
src_lines=$(code_lines "$root/src")
test_lines=$(code_lines "$root/tests")
echo "Code lines: src/ $src_lines, tests/ $test_lines, ratio $(awk -v t="$test_lines" -v s="$src_lines" 'BEGIN{printf "%.2f", t/s}')"
