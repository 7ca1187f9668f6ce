#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan, UBSan) and runs each in turn for the
# given seconds (default 60) on a working copy of its seed corpus, so that runs never write into
# the source tree. Stops at the first crash or broken property with the input kept in
# build/fuzz/artifacts/<target>-..., and exits 1 naming it. At the end prints, per target,
# executions per second and the coverage libFuzzer reached (cov: edges, ft: features).
#
#   bash scripts/fuzz.sh [seconds] [target...]   (all targets when none is named)
#   build/fuzz/bin/<target> <input>             replays one input
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: scripts/fuzz.sh [seconds per target] [target...]" >&2
    exit 2
fi

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
seeds="$root/tests/fuzz/corpus"
dicts="$root/tests/fuzz/dict"
targets=(fuzz_packet fuzz_cds_file fuzz_connection_string fuzz_named_parameters fuzz_sql_split
         fuzz_operator_script fuzz_windows1252)
if [ $# -gt 1 ]; then
    for t in "${@:2}"; do
        [[ " ${targets[*]} " == *" $t "* ]] || { echo "fuzz: no target $t (${targets[*]})" >&2; exit 2; }
    done
    targets=("${@:2}")
fi

cd "$root"
started=$SECONDS
cmake --preset fuzz >"$root/build/fuzz-configure.log" 2>&1 || { cat "$root/build/fuzz-configure.log"; exit 1; }
cmake --build --preset fuzz -j2
echo "fuzz: built in $((SECONDS - started)) s"

bin="$build/bin"
work="$build/corpus"
artifacts="$build/artifacts"
logs="$build/logs"
mkdir -p "$work" "$artifacts" "$logs"

# The demo's own .cds files (parameters, clients) as written by make_demo.
demo="$build/demo"
if [ ! -f "$demo/PARAMETROSQOR.CDS" ]; then
    rm -rf "$demo"
    ASAN_OPTIONS=detect_leaks=0 "$bin/make_demo" "$demo" >/dev/null
fi

copy_seeds() { # target, files...
    local dir="$work/$1"
    shift
    for f in "$@"; do
        [ -f "$f" ] && cp -f "$f" "$dir/$(echo "${f#"$root"/}" | tr '/' '_')"
    done
    return 0
}

seed() {
    local t="$1"
    mkdir -p "$work/$t"
    copy_seeds "$t" "$seeds/$t"/*
    case "$t" in
        fuzz_packet | fuzz_cds_file)
            mapfile -t files < <(find "$demo" -iname '*.cds')
            copy_seeds "$t" "${files[@]}" ;;
        fuzz_named_parameters)
            copy_seeds "$t" src/*/sql/*.sql host/*/sql/*.sql schema/queries/*.sql ;;
        fuzz_sql_split)
            copy_seeds "$t" schema/sqlite/*.sql schema/postgresql/*.sql tests/schema/sql/*.sql \
                tests/schema/sql/*/*.sql tests/services/service_rows.sql host/shared_services/sql/*/*.sql ;;
    esac
}

declare -A rate cov ft
for t in "${targets[@]}"; do
    seed "$t"
    dict=()
    [ -f "$dicts/$t.dict" ] && dict=("-dict=$dicts/$t.dict")
    echo "fuzz: $t for $seconds s"
    log="$logs/$t.log"
    if ! UBSAN_OPTIONS=print_stacktrace=1 "$bin/$t" -max_total_time="$seconds" -print_final_stats=1 \
        -max_len=8192 -timeout=10 -rss_limit_mb=1536 -artifact_prefix="$artifacts/$t-" "${dict[@]}" \
        "$work/$t" >"$log" 2>&1; then
        tail -n 40 "$log"
        saved="$(grep -o "Test unit written to .*" "$log" | tail -n 1 | sed 's/^Test unit written to //')"
        echo "fuzz: $t FAILED; input saved in ${saved:-(none: see $log)}; replay: $bin/$t ${saved:-<input>}" >&2
        exit 1
    fi
    last="$(grep -E '(DONE|pulse|NEW|REDUCE|INITED).* cov: ' "$log" | tail -n 1)"
    cov[$t]="$(sed -E 's/.* cov: ([0-9]+).*/\1/' <<<"$last")"
    ft[$t]="$(sed -E 's/.* ft: ([0-9]+).*/\1/' <<<"$last")"
    rate[$t]="$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log" | tail -n 1)"
done

echo
printf '%-24s %12s %8s %8s %8s\n' target "execs/s" cov ft corpus
for t in "${targets[@]}"; do
    printf '%-24s %12s %8s %8s %8s\n' "$t" "${rate[$t]:-?}" "${cov[$t]:-?}" "${ft[$t]:-?}" "$(ls "$work/$t" | wc -l)"
done
echo "fuzz: no crash in ${#targets[@]} targets, $seconds s each; $((SECONDS - started)) s in all (logs in $logs)"
