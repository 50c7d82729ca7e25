#!/usr/bin/env bash
# The rules that walk text (the error-output tail over code page 932 and UTF-8 bytes, the path
# rules over UTF-16), built natively under AddressSanitizer and UndefinedBehaviorSanitizer and
# fuzzed for 20 s: a read past a string's end fails here even where the result looks right.
# Exits non-zero on a finding; the input is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
# No Wine here: only what is missing, when no caller has installed it already.
[ -n "${CALV_DEPS_READY:-}" ] || bash tools/install-deps.sh

out=build/native
mkdir -p "$out/corpus"
clang++-14 -std=c++17 -g -O1 -Iframework -Icore -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    framework/CString.cpp core/PathRules.cpp core/RunText.cpp tests/native/RuleFuzz.cpp -o "$out/rule_fuzz"
# A start with the awkward shapes: 0x5C second bytes, a lone lead byte at the end.
printf 'C:\\\x95\x5C\\a.b\x83\x5C.ncd\0_cvted\n\x82\x60\x81' >"$out/corpus/seed"
# A path and a typed name in UTF-16, with 表 and a lone surrogate.
printf 'C\0:\0\\\0\x68\x88\\\0a\0.\0b\0\x42\xD8\0\0_\0\x21\xFF' >"$out/corpus/paths"
# And a line longer than the error tail, of mixed characters, before a few short ones.
perl -e 'print "\xB1\x88\x9F\x83\x5C\x95\x5Ca" x 300, "\nlast\nwords\n"' >"$out/corpus/long"
# The same in UTF-8, characters of two, three and four bytes, the 2000-byte cut after a four-byte one's first.
perl -e 'print "\xC3\xBD\xE8\xA1\xA8\xF0\x9F\x98\x80a" x 300, "\nwords\n"' >"$out/corpus/utf8"
if ! "$out/rule_fuzz" -max_total_time=20 -max_len=4096 -artifact_prefix="$out/" "$out/corpus" >"$out/fuzz.log" 2>&1; then
    tail -n 30 "$out/fuzz.log"
    echo "sweep: the fuzzer found a fault; the input is in $out/crash-*" >&2
    exit 1
fi
grep -E '^Done' "$out/fuzz.log"
