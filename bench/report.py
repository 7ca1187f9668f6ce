#!/usr/bin/env python3
"""Writes the performance report (markdown) from one run of tkt_bench.

usage: report.py RESULTS.json PLANS.json [PG.json]
RESULTS.json is tkt_bench's --benchmark_format=json output with repetitions, PLANS.json its
--explain output, PG.json its --pg-statements output (optional). The report goes to stdout.
"""
import json
import os
import platform
import sys
import time

WAYS = [
    ("badge", "badge as typed", "IX_CONSUMIDOR_CDIDCONSUMID"),
    ("badge_short", "badge without its leading zeros", "IX_CONSUMIDOR_CDIDCONSUMID"),
    ("code_short", "consumer code in short form", "IX_CONSUMIDOR_CDCONSUMIDOR"),
    ("cpf", "CPF", "IX_CONSUMIDOR_NRCPFRESPCON"),
    ("rg", "identity number, any letter case", "IX_CONSUMIDOR_NRRGCONSUMID_UPPER"),
    ("external", "external code", "IX_CONSUMIDOR_CDEXCONSUMID"),
]
SERVICES = ["getValidaGarcom", "getValMesa", "getValidaCons", "getConsComan", "getValComanda"]
VALIDATION_RATIO_GOAL = 1.5
VALIDATION_GROWTH_GOAL = 2.0
SERVICE_RATIO_GOAL = 1.3


def medians(results):
    """Median (time, floor, ratio) of every paired benchmark, by name; times in microseconds.

    time is the measured run's, floor the floor run's timed by turns with it, and ratio the median
    over repetitions of each repetition's measured over floor. A benchmark that failed is None.
    """
    out = {}
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    for b in results["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b.get("run_name", b["name"]).removesuffix("/manual_time")
        if b.get("error_occurred"):
            out[name] = None
            continue
        if b.get("run_type") == "iteration" and name in out:
            continue  # repetitions without aggregates: the median rows are absent, keep the first
        t = b["real_time"] * scale[b.get("time_unit", "ns")]
        out[name] = (t, b.get("floor"), b.get("ratio"))
    return out


def part(m, name, i):
    v = m.get(name)
    return None if v is None else v[i]


def us(t):
    if t is None:
        return "error"
    return f"{t:,.0f}" if t >= 100 else f"{t:.1f}"


def ratio(a, b):
    return None if a is None or b is None or b == 0 else a / b


def fmt_ratio(r, goal=None):
    if r is None:
        return "–"
    mark = "" if goal is None else (" ✓" if r <= goal else " ✗")
    return f"{r:.2f}{mark}"


def machine():
    model = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    memory = "unknown"
    try:
        with open("/proc/meminfo") as f:
            for line in f:
                if line.startswith("MemTotal"):
                    memory = f"{int(line.split()[1]) / 1024 / 1024:.1f} GiB"
                    break
    except OSError:
        pass
    return f"{os.cpu_count()} × {model}, {memory} memory, {platform.system()} {platform.release()}"


def main():
    results = json.load(open(sys.argv[1]))
    plans = json.load(open(sys.argv[2]))
    pg = json.load(open(sys.argv[3])) if len(sys.argv) > 3 and os.path.getsize(sys.argv[3]) > 0 else None
    m = medians(results)
    sizes = sorted({int(name.split("/")[2]) for name in m if name.startswith("validation/")})
    small, large = (sizes[0], sizes[-1]) if sizes else (None, None)
    ctx = results.get("context", {})
    lines = []
    w = lines.append

    w(f"Measured {time.strftime('%Y-%m-%d')} on {machine()}; load average at start "
      f"{', '.join(f'{x:.2f}' for x in ctx.get('load_avg', [])) or 'unknown'}. "
      f"Median of {ctx.get('repetitions', results['benchmarks'][0].get('repetitions', '?'))} repetitions, "
      "real time in microseconds. Each measurement and its floor run by turns inside one benchmark, "
      "in blocks of about a millisecond each, so that a slow spell of the machine falls on both alike; "
      "the ratio is the median over the repetitions of the measured time over the floor's time in the "
      "same blocks. The repetitions of all benchmarks run interleaved in random order.")
    w("")
    w("**Consumer validation** (`Vd_Geral` on the consumer field: query, probes, narrowing) against its floor, "
      "the dialog's SQLite consumer query prepared once with `sqlite3_prepare_v2`, bound and stepped through "
      f"every row reading every column. Goals: at most {VALIDATION_RATIO_GOAL}× the floor at "
      f"{large:,} consumers and at most {VALIDATION_GROWTH_GOAL}× its own time at {small:,}.")
    w("")
    header = "| way | " + " | ".join(f"{n:,}: time / floor / ratio" for n in sizes) + f" | growth {small:,} → {large:,} |"
    w(header)
    w("|---" * (len(sizes) + 2) + "|")
    for key, label, _ in WAYS:
        cells = []
        for n in sizes:
            name = f"validation/{key}/{n}"
            goal = VALIDATION_RATIO_GOAL if n == large else None
            cells.append(f"{us(part(m, name, 0))} / {us(part(m, name, 1))} / {fmt_ratio(part(m, name, 2), goal)}")
        growth = ratio(part(m, f"validation/{key}/{large}", 0), part(m, f"validation/{key}/{small}", 0))
        w(f"| {label} | " + " | ".join(cells) + f" | {fmt_ratio(growth, VALIDATION_GROWTH_GOAL)} |")
    w("")

    service_size = max((int(n.split("/")[2]) for n in m if n.startswith("service/")), default=None)
    w(f"**Services** at {service_size:,} consumers, each against its query prepared once and run raw "
      f"(goal: at most {SERVICE_RATIO_GOAL}× the floor).")
    w("")
    w("| service | time | floor | ratio |")
    w("|---|---|---|---|")
    for s in SERVICES:
        name = f"service/{s}/{service_size}"
        w(f"| {s} | {us(part(m, name, 0))} | {us(part(m, name, 1))} | "
          f"{fmt_ratio(part(m, name, 2), SERVICE_RATIO_GOAL)} |")
    w("")

    w("**Data packets** of consumer rows (40 columns) against plain CBOR (Qt's stream writer with no "
      "checks; Qt's generic parse), and **CriaConfComanda** from the call to the dialog shown (offscreen, "
      "closed as soon as it shows) against an empty dialog shown and closed the same way.")
    w("")
    w("| measurement | time | floor | ratio |")
    w("|---|---|---|---|")
    for n in sorted(n for n in m if n.startswith("packet/") or n.startswith("entry/")):
        w(f"| {n} | {us(part(m, n, 0))} | {us(part(m, n, 1))} | {fmt_ratio(part(m, n, 2))} |")
    w("")

    plan = plans.get(str(large)) or next(iter(plans.values()), [])
    w(f"**Query plans** (SQLite `EXPLAIN QUERY PLAN` of the consumer query at {large:,} consumers). "
      "Every way of finding a consumer is an index search, none a scan of CONSUMIDOR:")
    w("")
    w("| way | index searched |")
    w("|---|---|")
    scans = [p for p in plan if p.strip().startswith("SCAN") and ("CONSUMIDOR" in p or p.strip() in ("SCAN CO",))]
    for _, label, index in WAYS:
        hits = [p.strip() for p in plan if index in p and p.strip().startswith("SEARCH")]
        w(f"| {label} | {('`' + hits[0] + '`') if hits else '**no index search found**'} |")
    if scans:
        w("")
        w("**Scans of CONSUMIDOR found:** " + "; ".join(f"`{s.strip()}`" for s in scans))
    w("")
    w("```")
    lines.extend(plan)
    w("```")
    w("")

    if pg:
        second = pg.get("second", {})
        first = pg.get("first", {})
        w("**PostgreSQL through ODBC** (psqlODBC, server `log_statement = all`): statements the server "
          f"logged for one consumer validation: {second.get('statements', '?')} "
          f"({second.get('consumer_queries', '?')} of them the consumer query); on the first validation "
          f"of the process's first dialog, which also opens the dialog's own connection (the ODBC driver's "
          f"own log-in statements): {first.get('statements', '?')} "
          f"({first.get('consumer_queries', '?')} consumer query).")
        w("")
        for line in second.get("lines", []):
            w(f"    {line}")
        w("")
    else:
        w("PostgreSQL statement count: not measured in this run (no PostgreSQL server).")
        w("")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
