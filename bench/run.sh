#!/usr/bin/env bash
# Measures Calvendrake against bare Win32 programs under Wine and writes the table of
# medians to bench/RESULTS.md (and to the terminal).
# Usage: bash bench/run.sh [ROUNDS]        (default 21)
# CALV_BENCH_BUILD=DIR builds into DIR/x64 and DIR/x86 instead of the presets' build/x64
# and build/x86, so that a measurement does not disturb anyone else's build.
# Measure on a quiet machine: every other process adds to the times.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
rounds=${1:-21}

bash tools/install-deps.sh

# $1: preset; the rest: targets. Prints the build folder.
build() {
    local preset=$1 dir=$repo/build/$1
    shift
    [ -n "${CALV_BENCH_BUILD:-}" ] && dir=$CALV_BENCH_BUILD/$preset
    LC_ALL=C.UTF-8 cmake --preset "$preset" -B "$dir" >&2
    LC_ALL=C.UTF-8 cmake --build "$dir" -j2 --target "$@" >&2
    echo "$dir"
}
x64=$(build x64 bench)
x86=$(build x86 Calvendrake)

# Everything from here on (Xvfb, wineserver, the programs) shares one core: on a machine
# shared with other work, processes moving between cores split otherwise equal rounds into
# a fast and a slow group. Both sides of every comparison run under the same condition.
cores=$(nproc)
core=$((cores - 1))
taskset -cp "$core" $$ >/dev/null
# A private virtual display: nothing else draws on it.
unset DISPLAY
source tools/wine-env.sh
export WINEPATH="Z:${x64//\//\\}\\bridge"

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
samples=$CALV_WINE_TMP/samples.txt
echo "bench: $rounds rounds, load average $load_before" >&2
# The C runtime writes text mode: CR LF line ends.
wine "$x64/bin/bench.exe" "$rounds" | tr -d '\r' >"$samples"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
# Numbers are formatted with a decimal point whatever the caller's locale (Wine needed Japanese).
export LC_ALL=C.UTF-8

# Fields of one measure's lines: Calvendrake, baseline and their per-round comparison
# (ratio or difference), each as median, and the comparison's min and max.
stats() {
    awk -v measure="$1" -v how="$2" '
        function median(a, n,    i, j, t) {
            for (i = 2; i <= n; i++)
                for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        $1 == measure {
            n++; p[n] = $3; b[n] = $4
            c[n] = how == "ratio" ? $3 / $4 : $3 - $4
            if (n == 1 || c[n] < lo) lo = c[n]
            if (n == 1 || c[n] > hi) hi = c[n]
        }
        END { if (n) print median(p, n), median(b, n), median(c, n), lo, hi }' "$samples"
}

# A table row for a timed measure: $1 label, $2 measure, $3 ratio|diff, $4 goal text,
# $5 awk condition on the median comparison m.
row() {
    local program baseline mid lo hi met
    read -r program baseline mid lo hi < <(stats "$2" "$3")
    met=$(awk -v m="$mid" "BEGIN { print ($5) ? \"yes\" : \"**no**\" }")
    if [ "$3" = ratio ]; then
        printf '| %s | %.1f ms | %.1f ms | %.2f × | %.2f – %.2f × | %s | %s |\n' \
            "$1" "$program" "$baseline" "$mid" "$lo" "$hi" "$4" "$met"
    else
        printf '| %s | %.1f ms | %.1f ms | %+.1f ms | %+.1f – %+.1f ms | %s | %s |\n' \
            "$1" "$program" "$baseline" "$mid" "$lo" "$hi" "$4" "$met"
    fi
}

memory_row() {
    local program baseline mid lo hi
    read -r program baseline mid lo hi < <(stats memory ratio)
    printf '| Peak working set | %.1f MB | %.1f MB | %.2f × | %.2f – %.2f × | (reported) | — |\n' \
        "$(awk -v k="$program" 'BEGIN { print k / 1024 }')" "$(awk -v k="$baseline" 'BEGIN { print k / 1024 }')" \
        "$mid" "$lo" "$hi"
}

# $1: label, $2: build folder, $3: binutils prefix, $4: goal text ("" for none).
size_row() {
    local copy=$CALV_WINE_TMP/Calvendrake-$3.exe bytes dlls met=— system=yes
    cp "$2/bin/Calvendrake.exe" "$copy"
    "$3-strip" "$copy"
    bytes=$(stat -c %s "$copy")
    dlls=$(LC_ALL=C "$3-objdump" -p "$copy" | sed -n 's/^[[:space:]]*DLL Name: //p' | paste -sd ' ')
    bash tools/check-imports.sh "$copy" >/dev/null 2>&1 || system=no
    if [ -n "$4" ]; then
        met=$([ "$bytes" -le $((256 * 1024)) ] && [ $system = yes ] && echo yes || echo '**no**')
    fi
    printf '| %s | %.1f KB (%d bytes) | %s (system DLLs only: %s) | %s | %s |\n' \
        "$1" "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')" "$bytes" "$dlls" "$system" "${4:-(reported)}" "$met"
}

table=$(
    echo '| Measure | Calvendrake | Baseline | Median | Min – max | Goal | Met |'
    echo '|---|---|---|---|---|---|---|'
    row 'Start-up (start → dialog shown and idle)' startup ratio '≤ 1.10 ×' 'm <= 1.10'
    row 'Run overhead (Run → after-run actions done)' run diff '< 15 ms' 'm < 15'
    row 'Hand-off (second launch → path shown, ended)' handoff ratio '≤ 1.25 ×' 'm <= 1.25'
    memory_row
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

- Machine: $cores cores, $cpu; $(uname -sr); $(wine --version 2>/dev/null), 64-bit build
  (this machine runs no 32-bit code); private Xvfb display; Wine and the programs pinned to
  core $core.
- Load average (1, 5, 15 min): $load_before before, $load_after after.

$table

Each round measures Calvendrake and its baseline back to back, in alternating order; one
unrecorded round warms up first. Median, Min and Max are over the rounds' ratios (or
differences); the Calvendrake and Baseline columns are medians of their own.

- **Start-up**: \`CreateProcess\` until the visible window titled "Calvendrake" exists and
  \`WaitForInputIdle\` has returned. Baseline: \`bench/bare_dialog.cpp\`, the same \`IDD_MAIN_DIALOG\`
  from the same compiled resources with a trivial dialog procedure. Each Calvendrake start
  finds the same settings (planted before it); each dialog is closed with \`IDCANCEL\`.
- **Run overhead**: a synchronous \`BM_CLICK\` on Run until it returns, with no after-run action,
  minus the same \`perl "<script>" "<input>" "<output>"\` started hidden by \`bench.exe\` and waited
  for. The script copies a 7-line file; the output is deleted before each run.
- **Hand-off**: a second \`Calvendrake.exe <file>\` while the dialog runs, until it has ended and
  the input name field shows the file. Baseline: \`bench/bare_exit.cpp\`, started and waited for.
- **Peak working set**: \`PeakWorkingSetSize\` of the idle dialog in every start-up round (under
  Wine this includes Wine's own libraries); baseline: the bare dialog.
- **Size**: \`Calvendrake.exe\` of the presets' Release builds, stripped again; imports from
  \`objdump -p\`, checked by \`tools/check-imports.sh\`.

$notes
EOF
echo "$table"
echo "bench: written to bench/RESULTS.md" >&2
