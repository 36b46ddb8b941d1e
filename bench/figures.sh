#!/usr/bin/env bash
# The speed figures on one screen: each measured beside its baseline, with
# the ratio and the goal where there is one. Dumps are generated into a
# scratch folder that is removed afterwards.
#   bench/figures.sh [BUILD_DIR]
# BUILD_DIR holds the release build (default build-release) with the targets
# bankwise_bench, bankwise_bench_tool and bankwise-convert.
# BANKWISE_BENCH_RUNS sets how many runs each median is taken over (5).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-release}
tool=$build/bench/bankwise_bench_tool
convert=$build/cli/bankwise-convert
runs=${BANKWISE_BENCH_RUNS:-5}
# The dumps live in memory (/dev/shm) where there is such a folder, so that
# the figures show the programs rather than the disk and its clean-up; set
# TMPDIR to measure somewhere else.
where=${TMPDIR:-/tmp}
[ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] && where=/dev/shm
scratch=$(mktemp -d "$where/bankwise-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# Settings as a new user has them: none stored.
export XDG_CONFIG_HOME=$scratch/config HOME=$scratch

row() {  # figure, measured, baseline, ratio, goal
    printf '%-40s %11s %15s %8s  %s\n' "$@"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "x%.2f", a / b }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
within() {  # ratio-text goal
    awk -v r="${1#x}" -v g="$2" 'BEGIN { print (r <= g ? "goal <= " g ": met" : "goal <= " g ": MISSED") }'
}

printf '\nBankwise figures (%s cores, medians of %s runs, files in %s; load %s)\n' \
    "$(nproc)" "$runs" "$where" "$(cut -d' ' -f1-3 /proc/loadavg)"
row "figure" "measured" "baseline" "ratio" "goal, notes"
echo "----------------------------------------------------------------------------------------------"

# Parse + write of each family's largest realistic dump, in memory, against
# one memchr pass over the same bytes (CPU time; the share spent writing).
csv=$scratch/benchmark.csv
"$build/bench/bankwise_bench" --benchmark_filter='^BM_(Convert|Parse|Memchr)/' \
    --benchmark_min_time=0.1 --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
    --benchmark_out="$csv" --benchmark_out_format=csv >/dev/null 2>&1
awk -F, -v single=$(( runs <= 1 )) '
    {
        gsub(/"/, "", $1)
        # A single run makes no aggregate rows: its own row is its median.
        if ($1 ~ /_median$/)
            sub(/_median$/, "", $1)
        else if (!single || $1 ~ /_(mean|stddev|cv)$/)
            next
        split($1, n, "/")
    }
    n[1] == "BM_Convert" { convert[n[2]] = $4; order[++count] = n[2] }
    n[1] == "BM_Parse" { parse[n[2]] = $4 }
    n[1] == "BM_Memchr" { base[n[2]] = $4 }
    END {
        for (i = 1; i <= count; ++i) {
            k = order[i]
            if (!(k in base) || !(k in parse)) continue
            printf "%-40s %11s %15s %8s  %s\n", "parse+write " k, sprintf("%.1f us", convert[k]),
                   sprintf("memchr %.1f us", base[k]), sprintf("x%.1f", convert[k] / base[k]),
                   sprintf("writing %.0f%%", 100 * (convert[k] - parse[k]) / convert[k])
        }
    }' "$csv"

# Start-up and one small dump against a process that does nothing. Its
# peak memory is the program's own, which the giant dumps' figures add to.
"$tool" batch "$scratch/small" 1
small=$scratch/small/dump-00000.syx
times=($("$tool" time $(( runs * 4 + 1 )) -- /bin/true --vs -- "$convert" "$small"))
program_kib=${times[3]}
row "start-up, one small dump" "$(ms "${times[2]}")" "true $(ms "${times[0]}")" \
    "$(ratio "${times[2]}" "${times[0]}")" "peak memory $(mib "$program_kib")"

# Giant dumps through the converter against read() + memchr over the file.
for family in virus jvxp orbit fs1r blofeld morpheus vfx esq1 m1 d50 k5000; do
    for kind in raw mid; do
        file=$scratch/giant-$family.${kind/raw/syx}
        "$tool" big "$family" "$kind" "$file" 256
        size_kib=$(( $(stat -c %s "$file") / 1024 ))
        "$tool" scan "$file" >/dev/null  # in the page cache for both
        times=($("$tool" time "$runs" -- "$tool" scan "$file" \
            --vs -- "$convert" "$file" -o "$scratch/giant.ins"))
        r=$(ratio "${times[2]}" "${times[0]}")
        row "256 MiB $family $kind" "$(ms "${times[2]}")" "read $(ms "${times[0]}")" "$r" \
            "$(within "$r" 3); memory file + $(mib $(( times[3] - size_kib - program_kib ))) + start-up"
        rm -f "$file"
    done
done

# A whole library: one converter call against cp of the same files.
"$tool" batch "$scratch/batch" 10000
dumps=("$scratch"/batch/*)
times=($("$tool" time "$runs" --fresh "$scratch/copy" -- cp "${dumps[@]}" "$scratch/copy" \
    --vs --fresh "$scratch/out" -- "$convert" -d "$scratch/out" "${dumps[@]}" \
    --vs --fresh "$scratch/out" -- "$convert" -d "$scratch/out" "${dumps[@]:0:5000}"))
r=$(ratio "${times[2]}" "${times[0]}")
row "10,000 dumps of ~4 KB, -d" "$(ms "${times[2]}")" "cp $(ms "${times[0]}")" "$r" "$(within "$r" 3)"
r=$(ratio "${times[2]}" "${times[4]}")
row "10,000 against 5,000 dumps" "$(ms "${times[2]}")" "5,000 $(ms "${times[4]}")" "$r" \
    "linear: about x2"
