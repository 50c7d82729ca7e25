#!/usr/bin/env bash
# Measures both Calvendrake programs, the 64-bit and the 32-bit one users get, each
# against bare Win32 programs of its own build under Wine, and writes the table of
# medians to bench/RESULTS.md (and to the terminal).
# Usage: bash bench/run.sh [ROUNDS]        (default 21)
# The programs are built into build/bench/x64 and build/bench/x86 (CALV_BENCH_BUILD=DIR:
# DIR/x64 and DIR/x86), with the bench targets on, whatever the presets' own folders hold.
# Measure on a quiet machine: every other process adds to the times.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
rounds=${1:-21}

# The builds come first, before Wine and its display are pinned to one core below.
bash tools/install-deps.sh
export CALV_DEPS_READY=1

# $1: preset. Builds bench.exe and the programs it times; prints the build folder.
build() {
    local dir=${CALV_BENCH_BUILD:-$repo/build/bench}/$1
    LC_ALL=C.UTF-8 cmake --preset "$1" -B "$dir" -DCALV_TESTS=ON >&2
    LC_ALL=C.UTF-8 cmake --build "$dir" -j2 --target bench >&2
    echo "$dir"
}
x64=$(build x64)
x86=$(build x86)

# Everything from here on (Xvfb, wineserver, the programs) shares one core: on a machine
# shared with other work, processes moving between cores split otherwise equal rounds into
# a fast and a slow group. Both sides of every comparison run under the same condition.
cores=$(nproc)
core=$((cores - 1))
taskset -cp "$core" $$ >/dev/null
# A private virtual display: nothing else draws on it.
unset DISPLAY
source "$repo/tools/wine-env.sh"
calv_wine_build "$x64"

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
samples=$CALV_WINE_TMP/samples.txt
echo "bench: $rounds rounds, load average $load_before" >&2
# Each line gets its program's width in front. The C runtime writes text mode: CR LF line ends.
for bits in 64 32; do
    dir=$x64
    [ $bits = 32 ] && dir=$x86
    echo "bench: the $bits-bit programs" >&2
    wine "$dir/bin/bench.exe" "$rounds" | tr -d '\r' | sed "s/^/$bits /" >>"$samples"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
# Numbers are formatted with a decimal point whatever the caller's locale (Wine needed Japanese).
export LC_ALL=C.UTF-8

# Fields of one program's ($1: 64 or 32) measure ($2): Calvendrake, baseline and their
# per-round comparison (ratio or difference, $3), each as median; the comparison's quartiles,
# min and max; and the comparison of each side's fastest round, which load from elsewhere
# can only slow down.
stats() {
    awk -v bits="$1" -v measure="$2" -v how="$3" '
        function median(a, n,    i, j, t) {
            for (i = 2; i <= n; i++)
                for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        $1 == bits && $2 == measure {
            n++; p[n] = $4; b[n] = $5
            c[n] = how == "ratio" ? $4 / $5 : $4 - $5
        }
        END {
            if (!n) exit
            # median() sorts its array: then the first is the least.
            mp = median(p, n); mb = median(b, n); mc = median(c, n); q = int((n + 3) / 4)
            print mp, mb, mc, c[q], c[n + 1 - q], c[1], c[n], how == "ratio" ? p[1] / b[1] : p[1] - b[1]
        }' "$samples"
}

# A table row for a timed measure: $1 program (64|32), $2 label, $3 measure, $4 ratio|diff,
# $5 goal text, $6 awk condition on the median comparison m.
row() {
    local program baseline mid q1 q3 lo hi fastest met
    read -r program baseline mid q1 q3 lo hi fastest < <(stats "$1" "$3" "$4")
    met=$(awk -v m="$mid" "BEGIN { print ($6) ? \"yes\" : \"**no**\" }")
    [ "$5" = '(reported)' ] && met=—
    if [ "$4" = ratio ]; then
        printf '| %s | %s-bit | %.1f ms | %.1f ms | %.2f × | %.2f – %.2f × | %.2f – %.2f × | %.2f × | %s | %s |\n' \
            "$2" "$1" "$program" "$baseline" "$mid" "$q1" "$q3" "$lo" "$hi" "$fastest" "$5" "$met"
    else
        printf '| %s | %s-bit | %.1f ms | %.1f ms | %+.1f ms | %+.1f – %+.1f ms | %+.1f – %+.1f ms | %+.1f ms | %s | %s |\n' \
            "$2" "$1" "$program" "$baseline" "$mid" "$q1" "$q3" "$lo" "$hi" "$fastest" "$5" "$met"
    fi
}

memory_row() {
    local program baseline mid q1 q3 lo hi fastest
    read -r program baseline mid q1 q3 lo hi fastest < <(stats "$1" memory ratio)
    printf '| Peak working set | %s-bit | %.1f MB | %.1f MB | %.2f × | %.2f – %.2f × | %.2f – %.2f × | — | (reported) | — |\n' \
        "$1" "$(awk -v k="$program" 'BEGIN { print k / 1024 }')" "$(awk -v k="$baseline" 'BEGIN { print k / 1024 }')" \
        "$mid" "$q1" "$q3" "$lo" "$hi"
}

# $1: label, $2: build folder, $3: binutils prefix, $4: goal text ("" for none).
size_row() {
    local copy=$CALV_WINE_TMP/Calvendrake-$3.exe bytes dlls met=— system=yes
    cp "$2/bin/Calvendrake.exe" "$copy"
    "$3-strip" "$copy"
    bytes=$(stat -c %s "$copy")
    dlls=$(LC_ALL=C "$3-objdump" -p "$copy" | sed -n 's/^[[:space:]]*DLL Name: //p' | paste -sd ' ')
    python3 tools/check-imports.py "$copy" >/dev/null 2>&1 || system=no
    if [ -n "$4" ]; then
        met=$([ "$bytes" -le $((256 * 1024)) ] && [ $system = yes ] && echo yes || echo '**no**')
    fi
    printf '| %s | %.1f KB (%d bytes) | %s (system DLLs only: %s) | %s | %s |\n' \
        "$1" "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')" "$bytes" "$dlls" "$system" "${4:-(reported)}" "$met"
}

table=$(
    echo '| Measure | Program | Calvendrake | Baseline | Median | Middle half | Min – max | Fastest rounds | Goal | Met |'
    echo '|---|---|---|---|---|---|---|---|---|---|'
    for bits in 64 32; do
        row $bits 'Start-up (start → dialog shown and idle)' startup ratio '≤ 1.05 ×' 'm <= 1.05'
        row $bits 'Run overhead (Run → after-run actions done)' standin diff '< 5 ms' 'm < 5'
        row $bits 'The same with the real Perl' run diff '(reported)' 1
        row $bits 'Hand-off against a bare start' handoff ratio '(reported)' 1
        row $bits 'Hand-off against the bare sender' sender ratio '≤ 1.10 ×' 'm <= 1.10'
        memory_row $bits
    done
    echo
    echo '| Calvendrake.exe | Stripped size | Imports | Goal | Met |'
    echo '|---|---|---|---|---|'
    size_row '32-bit' "$x86" i686-w64-mingw32 '≤ 256 KB, system DLLs only'
    size_row '64-bit' "$x64" x86_64-w64-mingw32 ''
)

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
# What was found out about the figures is written by hand below this line, and kept.
marker='<!-- Kept by bench/run.sh: everything below is written by hand. -->'
notes=$marker
if [ -f bench/RESULTS.md ] && grep -qxF "$marker" bench/RESULTS.md; then
    notes=$(awk -v marker="$marker" '$0 == marker { kept = 1 } kept' bench/RESULTS.md)
fi
cat >bench/RESULTS.md <<EOF
# Benchmark results

Measured $(date '+%Y-%m-%d %H:%M %Z') by \`bash bench/run.sh $rounds\`: $rounds rounds.

- Machine: $cores cores, $cpu; $(uname -sr); $(wine --version 2>/dev/null) from the test bed
  (tools/wine-bed.sh), the 32-bit programs $(bash tools/wine-bed.sh emulated && echo "emulated by QEMU (this machine runs no 32-bit code)" || echo "in WoW64 mode"); both builds timed, each against bare
  programs of its own build; private Xvfb display; Wine and the programs pinned to core $core.
- Load average (1, 5, 15 min): $load_before before, $load_after after.

$table

Each round measures Calvendrake and its baseline back to back, in alternating order; one
unrecorded round warms up first. Median, Middle half (the quartiles), Min and Max are over the
rounds' ratios (or differences); the Calvendrake and Baseline columns are medians of their own.
Fastest rounds compares each side's fastest round: other work on the machine only adds time, so
it is the figure to read when the rounds spread wide.

- **Start-up**: \`CreateProcess\` until the visible window titled "Calvendrake" exists and
  \`WaitForInputIdle\` has returned. Baseline: \`bench/bare_dialog.cpp\`, the same \`IDD_MAIN_DIALOG\`
  from the same compiled resources with a trivial dialog procedure. Each Calvendrake start
  finds the same settings (planted before it); each dialog is closed with \`IDCANCEL\`.
- **Run overhead**: a synchronous \`BM_CLICK\` on Run until it returns, with no after-run action,
  minus the same click on the Run button of the bare dialog started with the same
  \`perl "<script>" "<input>" "<output>"\`, which starts that command hidden and waits for it:
  the least any dialog's Run does, and the click reaches it the same way. Timed with
  a stand-in \`perl.exe\` that ends at once (a copy of \`bench/bare_exit.cpp\`, a Windows program
  with no console), so the difference is the program's own cost, not the spread of Perl's
  start-up; and again with the real Perl (the test bed's, through the Perl bridge), whose script
  copies a 7-line file. The output is deleted before each run.
- **Hand-off**: a second \`Calvendrake.exe <file>\` while the dialog runs, until it has ended and
  the input name field shows the file. Baselines: \`bench/bare_exit.cpp\`, started and waited
  for (a process that does nothing); and \`bench/bare_sender.cpp\`, timed like Calvendrake,
  which does the hand-off and nothing else (the lock, \`FindWindowA\`, the 1024-byte block,
  \`SendMessageA\` of the notice, \`SetForegroundWindow\`): the least any second launch costs.
- **Peak working set**: \`PeakWorkingSetSize\` of the idle dialog in every start-up round (under
  Wine this includes Wine's own libraries); baseline: the bare dialog.
- **Size**: \`Calvendrake.exe\` of the Release builds, stripped again; imports from
  \`objdump -p\`, checked by \`tools/check-imports.py\`.

$notes
EOF
echo "$table"
echo "bench: written to bench/RESULTS.md" >&2
