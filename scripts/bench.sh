#!/usr/bin/env bash
# Builds the benchmarks (preset "bench"), generates the store databases they run on (kept under
# build/bench-data and made again only when gen_data changed), runs every benchmark by turns with its
# floor, counts one consumer validation's statements on a throwaway PostgreSQL server, and writes
# the markdown report, with the network turns of each operator action (scripts/turns.sh) at its end.
#   scripts/bench.sh [report.md]      default: build/bench-report.md
# Environment: TKT_BENCH_SIZES (default "10000 100000 1000000"), TKT_BENCH_REPETITIONS (7),
# TKT_BENCH_MIN_TIME (0.25 seconds per repetition), TKT_BENCH_PG=0 to leave PostgreSQL out,
# TKT_BENCH_PG_PORT (54471); turns.sh reads its own (TKT_TURNS_*).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
report="${1:-build/bench-report.md}"
sizes="${TKT_BENCH_SIZES:-10000 100000 1000000}"
repetitions="${TKT_BENCH_REPETITIONS:-7}"
min_time="${TKT_BENCH_MIN_TIME:-0.25}"
data=build/bench-data
out=build/bench-out
bin=build/bench/bin
mkdir -p "$data" "$out"

cmake --preset bench >/dev/null
cmake --build --preset bench --target gen_data tkt_bench -j2

# Databases of earlier runs that gen_data could have written differently are made again.
rm -f "$data"/consumers-*.db.building
for n in $sizes; do
  db="$data/consumers-$n.db"
  if [ ! -f "$db" ] || [ "$bin/gen_data" -nt "$db" ]; then
    rm -f "$db" "$db-wal" "$db-shm"
    "$bin/gen_data" --sqlite "$db" --consumers "$n" | tail -n 1
  fi
done
only=$(echo $sizes | tr ' ' ',')

export QT_QPA_PLATFORM=offscreen
"$bin/tkt_bench" --data "$data" --sizes "$only" --explain >"$out/plans.json"
"$bin/tkt_bench" --data "$data" --sizes "$only" \
  --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_min_time="$min_time" --benchmark_format=json >"$out/results.json"

: >"$out/pg.json"
if [ "${TKT_BENCH_PG:-1}" != 0 ]; then
  pg_env=$(TKT_PG_PORT="${TKT_BENCH_PG_PORT:-54471}" bash scripts/pg-start.sh) || pg_env=""
  if [ -n "$pg_env" ]; then
    eval "$pg_env"
    trap 'bash "$root/scripts/pg-stop.sh" >/dev/null 2>&1 || true' EXIT
    pg_consumers=10000
    "$bin/gen_data" --pg "$TKT_PG_ODBC" --consumers "$pg_consumers" --comandas 2000 | tail -n 1
    "$bin/tkt_bench" --pg-statements "$pg_consumers" >"$out/pg.json" || : >"$out/pg.json"
  else
    echo "bench.sh: no PostgreSQL server could be started; the statement count is left out" >&2
  fi
fi

python3 bench/report.py "$out/results.json" "$out/plans.json" "$out/pg.json" >"$report"
if [ "${TKT_BENCH_PG:-1}" != 0 ] && bash scripts/turns.sh "$out/turns.md" >/dev/null; then
  cat "$out/turns.md" >>"$report"
else
  echo "bench.sh: the network turns were not measured" >&2
  echo "Network turns per operator action: not measured in this run (no PostgreSQL server)." >>"$report"
fi
echo "bench.sh: report written to $report"
