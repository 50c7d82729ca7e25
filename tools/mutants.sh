#!/usr/bin/env bash
# Mutation run: plants each fault of a list in the program, one at a time, rebuilds the x64
# build, runs the test layers cheapest first until one fails, then puts the file back byte for byte.
#   tools/mutants.sh [-l LIST] [-o RESULTS] [ID...]
# LIST (default tools/mutants.txt): one fault a line, five tab-separated fields:
#   id, file (from the repository root), old text, new text, description.
#   In the old and new texts \n is a line break, \t a tab and \\ a backslash. The old text must
#   occur exactly once in the file. Lines starting with # and empty lines are skipped.
# ID...: only these faults (default: all). The id "baseline" runs the layers on the unchanged
#   program: it must pass, or a flaky test would count as a catch.
# RESULTS (default build/mutants-results.txt) gets one line a fault, appended:
#   id, result, seconds, description; the result is "caught by LAYER:TEST", "missed",
#   "stale" (old text not found exactly once) or "no-build". Logs go to build/mutants/ID.log.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
list=tools/mutants.txt results=build/mutants-results.txt
while getopts l:o: opt; do case $opt in l) list=$OPTARG ;; o) results=$OPTARG ;; *) exit 2 ;; esac; done
shift $((OPTIND - 1))

# The suite: one layer a line, cheapest first: name@files it can see (a regex; a fault
# elsewhere skips the layer)@command. A layer fails by its exit status.
dialog_suites=$(grep -ohE '^TEST(_F|_P)?\([A-Za-z0-9_]+' tests/dialog/*.cpp | sed 's/.*(//' | sort -u | paste -sd'|')
layers=(
    "imports@^(framework|core|ui|app)/@python3 tools/check-imports.py build/x64/bin/Calvendrake.exe"
    "rig@^tools/wine-bed\\.sh@bash tests/rig/apt-source.sh"
    "plain-user@^tools/(wine-bed|wine-env|install-deps)\\.sh@timeout 600 bash tests/rig/plain-user.sh"
    "unit@.@timeout 600 wine build/x64/bin/unit_tests.exe --gtest_fail_fast"
    "release@^(CMakeLists\\.txt|res/Version|tools/release|tools/wine-env\\.sh)@timeout 1200 bash \$([ \$(id -u) -ne 0 ] && echo tests/release/packages.sh || echo tests/rig/plain-user.sh --release)"
    "dialog@.@timeout 1200 ctest --preset x64 --timeout 60 --stop-on-failure --no-tests=error -R '^((.*/)?($dialog_suites)\\.|dialog_tests@)'"
    "sweep@^(core/(PathRules|RunText)|framework/CString\\.)@timeout 600 bash tools/sweep.sh"
    "e2e@.@CALV_WINEPREFIX=$repo/build/mutants/e2e-prefix timeout 900 bash tools/e2e.sh build/x64"
)
targets=(Calvendrake unit_tests dialog_tests recorder perl)

# The first failing test a layer's output names: ctest's list, gtest's, prove's, else a first error line.
failed_test() {
    sed -n '/The following tests FAILED/{n;s/^[[:space:]]*[0-9]* - //;p;q}' "$1" | grep . ||
    grep -m1 -oP '^\[  FAILED  \] \K[^ ]+' "$1" | grep . ||
    { grep -m1 -oE '[^ /]*\.t \(Wstat' "$1" | cut -d' ' -f1 && grep -m1 -oE "Failed test '[^']*'" "$1"; } |
        paste -sd' ' | grep . ||
    grep -m1 -iE 'error|fail|timeout|terminated' "$1" | cut -c1-100 | grep . || echo '?'
}

# Applies fault $1 of the list: prints its file, or exits 3 when the old text is not there exactly once.
apply() {
    perl -e 'my ($list, $id) = @ARGV; open my $l, "<", $list or die; while (<$l>) { chomp;
        my ($i, $file, $old, $new) = split /\t/, $_, -1; next unless defined $i && $i eq $id;
        s/\\(.)/$1 eq "n" ? "\n" : $1 eq "t" ? "\t" : $1/ge for $old, $new;
        open my $f, "<:raw", $file or exit 3; my $text = do { local $/; <$f> }; close $f;
        my $n = () = $text =~ /\Q$old\E/g; exit 3 if $n != 1;
        $text =~ s/\Q$old\E/$new/; open $f, ">:raw", $file or die; print $f $text; close $f;
        print "$file\n"; exit 0 } exit 4' "$list" "$1"
}

# A failed test may leave a hung program behind, which the next test would find as the running
# instance: end this prefix's test programs (the desktop keeper stays).
reap() {
    local p
    for p in /proc/[0-9]*; do
        grep -qz "^WINEPREFIX=$WINEPREFIX\$" "$p/environ" 2>/dev/null &&
            grep -qaE '(Calvendrake|_tests|recorder|perl|peek)\.exe' "$p/cmdline" 2>/dev/null && kill -9 "${p#/proc/}"
    done 2>/dev/null
}

build() { LC_ALL=C.UTF-8 cmake --build build/x64 -j2 --target "${targets[@]}"; }

saved= savedfile=
restore() { [ -n "$savedfile" ] && cp "$saved" "$savedfile" && touch "$savedfile"; savedfile=; }
mkdir -p build/mutants "$(dirname "$results")"
# The suite runs the 64-bit build in the test bed's Wine; the prefix is kept between runs.
export CALV_WINEPREFIX=$repo/build/mutants/prefix
unset DISPLAY
export CALV_WINE_DESKTOP=1024x768
source tools/wine-env.sh || exit 1
trap 'restore; calv_wine_cleanup' EXIT
saved=$CALV_WINE_TMP/original

ids=("$@")
[ ${#ids[@]} -gt 0 ] || mapfile -t ids < <(grep -vE '^(#|$)' "$list" | cut -f1)
declare -A count=()
for id in "${ids[@]}"; do
    start=$(date +%s) log=build/mutants/$id.log file=. result=
    line=$(grep -m1 -P "^\Q$id\E\t" "$list") desc="unchanged program"
    if [ "$id" != baseline ]; then
        file=$(cut -f2 <<<"$line") desc=$(cut -f5 <<<"$line")
        [ -f "$file" ] && cp "$file" "$saved" && savedfile=$file
        apply "$id" >/dev/null || result=stale
    fi
    if [ -z "$result" ] && ! build >"$log" 2>&1; then result=no-build; fi
    if [ -z "$result" ]; then
        for layer in "${layers[@]}"; do
            IFS=@ read -r name files command <<<"$layer"
            [ "$id" = baseline ] || [[ $file =~ $files ]] || continue
            if ! eval "$command" >"$log.$name" 2>&1; then
                result="caught by $name:$(failed_test "$log.$name")"
                reap
                break
            fi
        done
    fi
    [ -n "$result" ] || result=missed
    [ "$id" = baseline ] && [ "$result" = missed ] && result=green
    restore
    count[${result%% *}]=$((${count[${result%% *}]:-0} + 1))
    printf '%s\t%s\t%s\t%s\n' "$id" "$result" "$(($(date +%s) - start))" "$desc" | tee -a "$results"
done
# Leaves the build matching the sources again.
build >build/mutants/restore.log 2>&1 || echo "mutants: the final rebuild failed (build/mutants/restore.log)" >&2
for key in "${!count[@]}"; do printf '%s: %s\n' "$key" "${count[$key]}"; done | sort
