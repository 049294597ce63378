#!/usr/bin/env bash
# reliability-report.sh [BUILD_DIR] [RUNS]
# Runs every fuzz target RUNS times (default 1000000) from its seed corpus,
# then the fault tests (ctest -L faults), and writes docs/RELIABILITY.md.
# BUILD_DIR defaults to build-asan, configured with MAVU_SANITIZE and MAVU_FUZZ.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-asan}
runs=${2:-1000000}
build=$(cd "$build" && pwd) || { echo "no build folder $1" >&2; exit 2; }
out=$root/docs/RELIABILITY.md
fuzzdir=$build/tests/fuzz

if [[ -f $root/scripts/sanitizer-env.sh ]]; then
    # shellcheck source=/dev/null
    source "$root/scripts/sanitizer-env.sh"
fi
export QT_QPA_PLATFORM=offscreen

# What each target feeds in and what it insists on.
describe() {
    case $1 in
    preset_file) echo "A preset file (.stm or .syx) through the open path into the settings model | refused files say why; only complete images reach the model; what is read writes back to the same bytes" ;;
    midi_message) echo "A received MIDI message through the exchange's decision (serial-number reply, settings image, malformed) into the settings model | the image changes only for a complete 458-byte F0..F7 message; serial text from at most 13 bytes; no read past the message" ;;
    firmware_description) echo "The controller's version and the server's description JSON through the parser, the version rule and the file-name check | refusals say why; the version order is antisymmetric, irreflexive and transitive, numeric (10 after 9), deaf to leading zeros and trailing .0; non-numeric versions are refused; a plain name stays in the download folder" ;;
    ymodem_engine) echo "The YMODEM sender stepped against arbitrary receiver bytes in chunks, with a small in-memory file and short give-up limits | every packet written is EOT, cancel or a framed block with the right CRC; no read past the receive buffer; finish only after the whole file and its EOT; the engine ends within its give-up limit once the line falls silent" ;;
    *) echo "— | —" ;;
    esac
}

targets=$(sed -n 's/^mavu_add_fuzzer(\([a-z_0-9]*\).*/\1/p' "$root/tests/fuzz/CMakeLists.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

rows=()
failures=0
for t in $targets; do
    bin=$fuzzdir/$t
    if [[ ! -x $bin ]]; then
        echo "building $t" >&2
        make -C "$build" -j2 "$t" >"$scratch/build-$t.log" 2>&1 || { tail -20 "$scratch/build-$t.log" >&2; exit 1; }
    fi
    corpus=$scratch/corpus-$t
    mkdir -p "$corpus"
    log=$scratch/$t.log
    echo "fuzzing $t ($runs runs)" >&2
    start=$(date +%s.%N)
    status=0
    "$bin" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$scratch/artifact-$t-" "$corpus" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
    end=$(date +%s.%N)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
    seeds=$(find "$root/tests/fuzz/corpus/$t" -type f | wc -l)
    found=$(find "$corpus" -type f | wc -l)
    crashes=$(find "$scratch" -maxdepth 1 -name "artifact-$t-*" | wc -l)
    if [[ $status -ne 0 && $crashes -eq 0 ]]; then
        crashes=1
    fi
    if [[ $crashes -ne 0 ]]; then
        failures=$((failures + 1))
        echo "== $t failed (exit $status) ==" >&2
        grep -E '(ERROR|SUMMARY|runtime error)' "$log" | head -5 >&2
    fi
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", b - a }')
    rate=$(awk -v n="${execs:-0}" -v s="$seconds" 'BEGIN { printf "%.0f", (s > 0 ? n / s : n) }')
    IFS='|' read -r what checks <<<"$(describe "$t")"
    rows+=("| \`$t\` | ${what% } | ${checks# } | ${execs:-0} | $seconds | $rate | ${rss:-?} | ${cov:-?} | $seeds + $found | $crashes |")
done

# Fault tests: their own summary file, and ctest's verdict per test.
faults_text=""
faults_lines=""
if [[ -d $root/tests/e2e ]] && (cd "$build" && ctest -N -L faults | grep -q 'Test *#'); then
    fault_tests=$(cd "$build" && ctest -N -L faults | sed -n 's/^ *Test *#[0-9]*: *//p')
    echo "building the fault tests" >&2
    # shellcheck disable=SC2086
    make -C "$build" -j2 $fault_tests >"$scratch/build-faults.log" 2>&1 || tail -20 "$scratch/build-faults.log" >&2
    summary=$build/faults-summary.txt
    rm -f "$summary"
    echo "running the fault tests" >&2
    (cd "$build" && ctest -L faults --output-on-failure) >"$scratch/faults.log" 2>&1 || failures=$((failures + 1))
    # shellcheck disable=SC2016 # the backquotes are Markdown, not a command
    faults_lines=$(grep -E 'Test +#[0-9]+:' "$scratch/faults.log" \
        | sed -E 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: +([^ ]+) +\.+ *(\*\*\*)?([A-Za-z]+[A-Za-z ]*[A-Za-z]) +([0-9.]+) sec.*/| `\1` | \3 | \4 |/')
    if [[ -s $summary ]]; then
        faults_text=$(cat "$summary")
    fi
fi

{
    echo "# Reliability"
    echo
    echo "Written by \`scripts/reliability-report.sh\`; run it again to refresh. Figures from"
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$root" rev-parse --short HEAD),"
    echo "$(clang++ --version 2>/dev/null | head -1), $(nproc) cores, AddressSanitizer and"
    echo "UndefinedBehaviorSanitizer on."
    echo
    echo "## Fuzzing"
    echo
    echo "Every input that comes from outside has a libFuzzer target in \`tests/fuzz/\`, started"
    echo "from the seeds in \`tests/fuzz/corpus/<target>/\` with a scratch corpus in a temporary"
    echo "folder, $runs runs each. A crash, a sanitizer report, a broken invariant (abort), a"
    echo "hang of more than 10 s or more than 2 GB of memory counts as a crash."
    echo
    echo "| Target | Input | Checked on every run | Executions | Seconds | Per second | Peak RSS (MB) | Coverage (edges) | Corpus (seeds + found) | Crashes |"
    echo "|---|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "Left out on purpose: Qt 5.15's JSON parser leaks the first array or object of a key"
    echo "that appears twice in a document; \`firmware_description\` keeps that one allocation"
    echo "site out of the leak check (a few hundred bytes per such description, in Qt)."
    echo
    echo "## Fault injection and the long run"
    echo
    if [[ -n $faults_lines ]]; then
        echo "The tests labelled \`faults\` (\`ctest -L faults\`):"
        echo
        echo "| Test | Result | Seconds |"
        echo "|---|---|---|"
        echo "$faults_lines"
        echo
        if [[ -n $faults_text ]]; then
            echo "Their figures (\`faults-summary.txt\` in the build folder; FAULTS lines count the"
            echo "faults injected and survived, the CYCLES line the get/send cycles, replies lost and"
            echo "the live heap before and after; resident memory would hide a small leak,"
            echo "since freed memory is reused):"
            echo
            echo '```'
            echo "$faults_text"
            echo '```'
        else
            echo "The tests wrote no \`faults-summary.txt\`."
        fi
    else
        echo "**Not yet filled:** no tests labelled \`faults\` were found in this build. Once"
        echo "the fault tests are built, this script runs \`ctest -L faults\` and lists each test"
        echo "with its result here, followed by the figures the tests write."
    fi
    echo
    echo "## Running longer"
    echo
    echo "\`MAVU_FUZZ_SECONDS=600 ctest -L fuzz\` in the sanitizer build runs each target for ten"
    echo "minutes; \`scripts/reliability-report.sh build-asan 10000000\` runs ten million inputs"
    echo "each and rewrites this file."
} >"$out"

echo "wrote $out" >&2
if [[ $failures -ne 0 ]]; then
    echo "$failures target(s) or test run(s) failed" >&2
    exit 1
fi
