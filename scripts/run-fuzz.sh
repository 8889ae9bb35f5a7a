#!/usr/bin/env bash
# Runs each libFuzzer target for a set time, starting from the committed
# seed corpus in tests/fuzz/corpus/<target>/. New inputs go into a scratch
# corpus in the build folder (never into the repository); a crash, hang or
# leak is written to <build>/fuzz-artifacts/ and stops the run with an error.
#
#   scripts/run-fuzz.sh [build folder] [seconds per target] [target...]
set -euo pipefail

build=${1:-build-fuzz}
seconds=${2:-60}
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=(measurement_csv recovery_file kinemo_file settings_file numbers frame_source)
fi

root=$(cd "$(dirname "$0")/.." && pwd)
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
status=0
for t in "${targets[@]}"; do
  scratch="$build/fuzz-corpus/$t"
  mkdir -p "$scratch"
  # One input must finish within the time limit; the frame source bounds
  # each of its steps itself, well below it.
  timeout=10
  maxlen=4096
  if [ "$t" = frame_source ]; then maxlen=65536; timeout=30; fi
  # A recovery file of 200 points is about 10 KB.
  if [ "$t" = recovery_file ]; then maxlen=16384; fi
  # Four objects of a few points each fit in it as well.
  if [ "$t" = kinemo_file ]; then maxlen=16384; fi
  echo "== fuzz_$t for ${seconds}s"
  if ! "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout="$timeout" \
      -max_len="$maxlen" -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$t-" "$scratch" "$root/tests/fuzz/corpus/$t"; then
    echo "fuzz_$t found a problem: see $artifacts" >&2
    status=1
  fi
done
exit $status
