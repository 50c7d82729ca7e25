#!/usr/bin/env bash
# Robustness sweep of the pure rules, built natively for Linux under AddressSanitizer
# and UndefinedBehaviorSanitizer: the randomised test with fixed seeds, then a short
# fuzzing run. Exits non-zero if either finds anything.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash tools/install-deps.sh

out=build/native
mkdir -p "$out/corpus"
sources=(framework/CString.cpp core/PathRules.cpp core/RunText.cpp tests/native/RuleProperties.cpp)
flags=(-std=c++17 -g -O1 -Wall -Wextra -Iframework -Icore -D_GLIBCXX_ASSERTIONS
       -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# g++, because only it turns the Japanese messages into code page 932 bytes.
g++ "${flags[@]}" -fexec-charset=CP932 "${sources[@]}" tests/native/RuleSweep.cpp -o "$out/rule_sweep"
# clang for libFuzzer; it keeps the messages in UTF-8, which no checked property depends on.
clang++-14 "${flags[@]}" -fsanitize=fuzzer "${sources[@]}" tests/native/RuleFuzz.cpp -o "$out/rule_fuzz"

"$out/rule_sweep"

# A few real shapes to start from; libFuzzer keeps what it learns in the corpus.
printf 'C:\\work\\part1.ncd\0_cvted' >"$out/corpus/seed-derive"
printf '\x95\x5C\\a.b\x83\x5C.ncd\0D:\\x\\\x81' >"$out/corpus/seed-trail-backslash"
printf 'line\r\n\x82\x60\x82\x81\n\x81' >"$out/corpus/seed-text"
# Its progress goes to a log; the summary, or on a finding the log's end, to the terminal.
if ! "$out/rule_fuzz" -max_total_time=30 -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$out/" "$out/corpus" >"$out/fuzz.log" 2>&1; then
    tail -n 40 "$out/fuzz.log"
    echo "sweep: the fuzzer found a fault; the input is in $out/crash-*" >&2
    exit 1
fi
grep -E '^(Done|stat::number_of_executed_units)' "$out/fuzz.log"
