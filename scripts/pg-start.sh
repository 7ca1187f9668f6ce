#!/usr/bin/env bash
# Starts a throwaway PostgreSQL server on loopback, its data in a temporary folder, and prints the
# environment the tests read (source the output: eval "$(scripts/pg-start.sh)").
# The tests reach it through psqlODBC, as a store's server database would be reached.
set -euo pipefail

port="${TKT_PG_PORT:-54329}"
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bindir/initdb" ] || { echo "pg-start: PostgreSQL server binaries not found; run scripts/setup.sh" >&2; exit 1; }

dir=$(mktemp -d /tmp/tkt-pg.XXXXXX)
chmod 755 "$dir"
run_pg() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
[ "$(id -u)" -eq 0 ] && chown postgres "$dir"

run_pg "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
  || { cat "$dir/initdb.log" >&2; exit 1; }
# Kept in the configuration so that a test may stop and start the server again as it was.
# Statement logging lets tests count what the module sends to the server.
cat >>"$dir/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$dir'
log_statement = 'all'
log_line_prefix = '%m [%p] %d '
fsync = off
max_connections = 200
CONF
run_pg "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >&2
run_pg "$bindir/psql" -h 127.0.0.1 -p "$port" -U postgres -q -c "CREATE ROLE tkt LOGIN PASSWORD 'tkt' SUPERUSER" >&2
run_pg "$bindir/psql" -h 127.0.0.1 -p "$port" -U postgres -q -c "CREATE DATABASE tkt OWNER tkt" >&2

echo "export TKT_PG_DIR='$dir'"
echo "export TKT_PG_BIN='$bindir'"
echo "export TKT_PG_PORT='$port'"
echo "export TKT_PG_LOG='$dir/server.log'"
echo "export TKT_PG_ODBC='Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Database=tkt;Uid=tkt;Pwd=tkt;'"
