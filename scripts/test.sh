#!/usr/bin/env bash
# Sets up, builds and runs every test: the embedded SQLite back end and PostgreSQL through ODBC
# (a throwaway server on loopback, started here and stopped afterwards).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

if [ -z "${TKT_PG_ODBC:-}" ]; then
  eval "$(bash scripts/pg-start.sh)"
  trap 'bash scripts/pg-stop.sh' EXIT
fi

ctest --preset default -j "$(nproc)" "$@"
