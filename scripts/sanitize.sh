#!/usr/bin/env bash
# Builds the "asan" preset (AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer) and runs
# the whole test suite under it, PostgreSQL included (a throwaway server on loopback, started here
# and stopped afterwards). Leaks are reported unless tests/sanitizers/lsan.supp says why not.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(nproc)"

if [ -z "${TKT_PG_ODBC:-}" ]; then
  eval "$(TKT_PG_PORT="${TKT_SANITIZE_PG_PORT:-54331}" bash scripts/pg-start.sh)"
  trap 'bash scripts/pg-stop.sh' EXIT
fi

ctest --preset asan -j "$(nproc)" "$@"
