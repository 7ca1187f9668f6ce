#!/usr/bin/env bash
# Stops the server that pg-start.sh started and removes its folder.
set -u
[ -n "${TKT_PG_DIR:-}" ] && [ -d "$TKT_PG_DIR" ] || exit 0
if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$TKT_PG_BIN/pg_ctl" -D "$TKT_PG_DIR/data" -m fast stop >/dev/null 2>&1
else "$TKT_PG_BIN/pg_ctl" -D "$TKT_PG_DIR/data" -m fast stop >/dev/null 2>&1; fi
rm -rf "$TKT_PG_DIR"
