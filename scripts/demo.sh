#!/usr/bin/env bash
# Sets up, builds, creates the demo data beside the host program and opens the comanda dialog.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

bin=build/default/bin
"$bin/make_demo" "$bin"
echo "Demo data created in $bin (demo.db, PARAMETROSQOR.CDS, Dados/Cadastros/Cad_Cliente.cds)."
