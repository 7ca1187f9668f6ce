#!/usr/bin/env bash
# Counts the network turns of every operator action on a PostgreSQL store behind an added round
# trip: starts a throwaway server (pg-start.sh), installs the demo store on it, and for each round
# trip runs pos_host with --repeat 2 through tkt_latency_proxy, once along the main path (badge,
# waiter, table, yes, password) and once opening the dialog and leaving it. Writes the markdown
# section (bench/turns_report.py) to the given file and prints it.
#   scripts/turns.sh [fragment.md]      default: build/turns-report.md
# With TKT_TURNS_MSSQL (the module's connection string to an existing SQL Server database,
# "Provider=SQLOLEDB.1;Data Source=127.0.0.1;Port=...;Initial Catalog=...;User ID=...;Password=..."),
# the same runs are made there too and a second section follows.
# Environment: TKT_TURNS_PG_PORT (54472), TKT_TURNS_RTTS ("0 40", milliseconds),
# TKT_TURNS_BUILD_DIR (a configured build folder to use; default: the "bench" preset's),
# TKT_TURNS_LOGS (a folder to keep the marks and turn logs in).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fragment="${1:-build/turns-report.md}"
rtts="${TKT_TURNS_RTTS:-0 40}"
targets="pos_host tkt00740 shared_services Pkg_Aux00090 make_demo tkt_latency_proxy"

if [ -n "${TKT_TURNS_BUILD_DIR:-}" ]; then
  build="$TKT_TURNS_BUILD_DIR"
  cmake --build "$build" -j2 --target $targets >/dev/null
else
  build=build/bench
  cmake --preset bench >/dev/null
  cmake --build --preset bench -j2 --target $targets >/dev/null
fi
bin="$root/$build/bin"
[ -d "$bin" ] || bin="$build/bin"

work=$(mktemp -d /tmp/tkt-turns.XXXXXX)
proxy_pid=""
pg_started=""
cleanup() {
  if [ -n "$proxy_pid" ]; then kill "$proxy_pid" 2>/dev/null || true; wait "$proxy_pid" 2>/dev/null || true; fi
  # Only our own server: a caller's (bench.sh) may be named by the same variables until ours starts.
  if [ -n "$pg_started" ]; then bash "$root/scripts/pg-stop.sh" >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

pg_env=$(TKT_PG_PORT="${TKT_TURNS_PG_PORT:-54472}" bash scripts/pg-start.sh) || {
  echo "turns.sh: no PostgreSQL server could be started" >&2
  exit 1
}
eval "$pg_env"
pg_started=1
mkdir -p "$work/host" "$work/logs"
"$bin/make_demo" "$work/host" --pg "$TKT_PG_ODBC" >/dev/null

# Actions apart from each other by generous pauses: the turns are timed by the proxy, not by the
# pauses, and an action must be over before the next one's mark.
main_script="mark:consumer type:0000054321 Enter wait:1000 mark:waiter type:7 Enter wait:1000 \
mark:table type:1 Enter wait:1000 mark:question click:btnSim wait:1000 mark:password type:1234 Enter wait:1000"
leave_script="wait:500 mark:close click:lblSair wait:1000"

# Starts the proxy in front of the server; sets proxy_pid and proxy_port.
start_proxy() {
  local rtt=$1 log=$2 upstream=$3
  : >"$work/proxy.out"
  "$bin/tkt_latency_proxy" --upstream "127.0.0.1:$upstream" --rtt-ms "$rtt" --seconds 600 --turns "$log" \
    >"$work/proxy.out" &
  proxy_pid=$!
  proxy_port=""
  for _ in $(seq 100); do
    proxy_port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$work/proxy.out")
    [ -n "$proxy_port" ] && return 0
    kill -0 "$proxy_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "turns.sh: the latency proxy did not start" >&2
  exit 1
}

stop_proxy() {
  kill "$proxy_pid" 2>/dev/null || true
  wait "$proxy_pid" || true
  proxy_pid=""
}

# The server the runs go to: its connection string (with Port=...) and the folder of its logs.
server_string="Provider=MSDASQL;$TKT_PG_ODBC"
logs="$work/logs"

run_host() {
  local name=$1 rtt=$2 script=$3 expected=$4
  local log="$logs/turns-$name-$rtt.txt" marks="$logs/marks-$name-$rtt.txt"
  local upstream
  upstream=$(echo "$server_string" | sed -n 's/.*Port=\([0-9]*\).*/\1/p')
  start_proxy "$rtt" "$log" "$upstream"
  local target
  target=$(echo "$server_string" | sed "s/Port=[0-9]*/Port=$proxy_port/")
  local out
  out=$(QT_QPA_PLATFORM=offscreen TKT_HOST_DIR="$work/host" TKT_CONNECTION_STRING="$target" \
    "$bin/pos_host" --repeat 2 --marks "$marks" --timeout 120 --script-exit --script "$script" 2>"$work/host.err") || {
    cat "$work/host.err" >&2
    echo "turns.sh: pos_host failed on the $name script at $rtt ms" >&2
    exit 1
  }
  stop_proxy
  if [ "$(echo "$out" | grep -c "^result=$expected$")" != 2 ]; then
    echo "$out" >&2
    echo "turns.sh: the $name script did not answer result=$expected in both dialogs at $rtt ms" >&2
    exit 1
  fi
}

for rtt in $rtts; do
  run_host main "$rtt" "$main_script" True
  run_host leave "$rtt" "$leave_script" False
done

mkdir -p "$(dirname "$fragment")"
python3 bench/turns_report.py "$work/logs" >"$fragment"

if [ -n "${TKT_TURNS_MSSQL:-}" ]; then
  server_string="$TKT_TURNS_MSSQL"
  logs="$work/logs-mssql"
  mkdir -p "$logs"
  "$bin/make_demo" "$work/host" --mssql "$server_string" >/dev/null
  for rtt in $rtts; do
    run_host main "$rtt" "$main_script" True
    run_host leave "$rtt" "$leave_script" False
  done
  python3 bench/turns_report.py "$logs" "SQL Server through FreeTDS" >>"$fragment"
fi
if [ -n "${TKT_TURNS_LOGS:-}" ]; then mkdir -p "$TKT_TURNS_LOGS" && cp -r "$work"/logs* "$TKT_TURNS_LOGS"/; fi
cat "$fragment"
