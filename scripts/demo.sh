#!/usr/bin/env bash
# Sets up, builds, creates the demo store beside the host program and opens the comanda dialog in the
# demo POS host. Without a display the dialog is served over VNC on 127.0.0.1 (the host says where).
# Extra arguments go to the host, e.g.:  bash scripts/demo.sh --vendedor 7 --mesa 1
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

bin=build/default/bin
"$bin/make_demo" "$bin"
cat <<'TXT'
Demo store ready (branch 0001, store 0001, till 001). Try consumer badge 0000012345, CPF 12345678901,
waiter 7 (Sebastião), table 1; every operator's password is 1234. schema/README.md lists all demo rows.
TXT
exec "$bin/pos_host" "$@"
