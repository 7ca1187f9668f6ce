#!/usr/bin/env python3
"""Writes the report section on network turns per operator action (markdown).

usage: turns_report.py DIR [SERVER]
SERVER names the server and driver in the text (default "PostgreSQL through psqlODBC").
DIR holds, for every script S (main, leave) and added round trip R in ms, pos_host's marks file
marks-S-R.txt and tkt_latency_proxy's turn log turns-S-R.txt of one run with --repeat. The
section goes to stdout. scripts/turns.sh makes the files.
"""
import os
import re
import sys

# Row labels of the mark labels each script writes, in the order the dialog goes through them.
ACTIONS = {
    "main": [
        ("open", "open (call to dialog shown)"),
        ("mark:consumer", "consumer (badge, Enter)"),
        ("mark:waiter", "waiter (7, Enter)"),
        ("mark:table", "table (1, Enter; the question opens)"),
        ("mark:question", "question “yes” (the checks; the password box opens)"),
        ("mark:password", "password and conclusion (1234, Enter; the dialog closes)"),
    ],
    "leave": [
        ("open", "open (call to dialog shown)"),
        ("mark:close", "close (Sair; the dialog closes)"),
    ],
}
TITLES = {"main": "Opening a comanda (badge, waiter, table, yes, password)", "leave": "Opening the dialog and leaving"}


def read_marks(path):
    """{dialog: [(us, label)]} in file order."""
    dialogs = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3:
                dialogs.setdefault(int(parts[1]), []).append((int(parts[0]), parts[2]))
    return dialogs


def read_turns(path):
    """([(start_us, end_us)] of the answered turns, count of unanswered ones); open/close lines are left out.

    A request the server never answers (the goodbye a client sends as it disconnects) is no wait:
    its end is only when the connection closed.
    """
    turns = []
    unanswered = 0
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 5 and parts[0].isdigit():
                if int(parts[4]) > 0:
                    turns.append((int(parts[1]), int(parts[2])))
                else:
                    unanswered += 1
    return turns, unanswered


def intervals(marks):
    """[(label, begin_us, end_us)]: each label's interval runs to the next mark, the last to "end"."""
    points = [(us, label) for us, label in marks]
    out = []
    for (us, label), (next_us, _) in zip(points, points[1:]):
        out.append((label, us, next_us))
    return out


def per_action(marks, turns):
    """{label: (turns, wait_ms)} over the turns that start inside each action's interval."""
    out = {}
    for label, begin, end in intervals(marks):
        inside = [(s, e) for s, e in turns if begin <= s < end]
        count, wait = out.get(label, (0, 0.0))
        out[label] = (count + len(inside), wait + sum(e - s for s, e in inside) / 1000.0)
    return out


def outside(dialogs, turns):
    """Turns that start outside every dialog (loading the module, between calls, finalizing)."""
    spans = [(m[0][0], m[-1][0]) for m in dialogs.values() if m]
    return [t for t in turns if not any(a <= t[0] <= b for a, b in spans)]


def fmt_ms(ms):
    return f"{ms:,.0f}" if ms >= 100 else f"{ms:.1f}"


def section(folder, server="PostgreSQL through psqlODBC"):
    runs = {}
    pattern = re.compile(r"^marks-(\w+)-(\d+)\.txt$")
    for name in sorted(os.listdir(folder)):
        m = pattern.match(name)
        turns_path = os.path.join(folder, f"turns-{m.group(1)}-{m.group(2)}.txt") if m else None
        if m and os.path.exists(turns_path):
            runs[(m.group(1), int(m.group(2)))] = (read_marks(os.path.join(folder, name)), *read_turns(turns_path))
    rtts = sorted({rtt for _, rtt in runs})
    lines = []
    w = lines.append
    w(f"**Network turns per operator action** on {server}, behind `tkt_latency_proxy` "
      f"with {' and '.join(f'{r} ms' for r in rtts)} of added round trip. pos_host opens the dialog twice in "
      "one process (`--repeat 2`); a turn is a request of the module and the server's whole answer, and its "
      "wait is from the proxy receiving the request's first byte to it forwarding the answer's last "
      "(including the added round trip). A turn belongs to the action in whose interval it starts "
      "(from the action's mark to the next; open: from the call to the first mark). "
      "Cells: first dialog / second dialog.")
    w("")
    for script, actions in ACTIONS.items():
        if not any(s == script for s, _ in runs):
            continue
        w(f"*{TITLES[script]}*")
        w("")
        w("| action | " + " | ".join(f"turns at {r} ms | wait ms at {r} ms" for r in rtts) + " |")
        w("|---" * (1 + 2 * len(rtts)) + "|")
        tables = {}
        for rtt in rtts:
            dialogs, turns, _ = runs.get((script, rtt), ({}, [], 0))
            ks = sorted(dialogs)
            chosen = [ks[0], ks[-1]] if ks else []
            tables[rtt] = [per_action(dialogs[k], turns) for k in chosen]
        for label, title in actions + [("", "**total**")]:
            cells = []
            for rtt in rtts:
                values = []
                for table in tables[rtt]:
                    if label:
                        values.append(table.get(label, (0, 0.0)))
                    else:
                        values.append((sum(c for c, _ in table.values()), sum(ms for _, ms in table.values())))
                cells.append(" / ".join(str(c) for c, _ in values) or "–")
                cells.append(" / ".join(fmt_ms(ms) for _, ms in values) or "–")
            w(f"| {title} | " + " | ".join(cells) + " |")
        w("")
        notes = []
        for rtt in rtts:
            dialogs, turns, unanswered = runs.get((script, rtt), ({}, [], 0))
            rest = outside(dialogs, turns)
            notes.append(f"at {rtt} ms {len(rest)} turns ({fmt_ms(sum(e - s for s, e in rest) / 1000.0)} ms) "
                         f"outside the dialogs (loading, between the calls, finalizing) and {unanswered} "
                         "requests never answered (left out above)")
        w("Besides: " + "; ".join(notes) + ".")
        w("")
    if not runs:
        w("Not measured in this run (no server or no turn logs).")
        w("")
    return "\n".join(lines)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    print(section(sys.argv[1], sys.argv[2] if len(sys.argv) == 3 else "PostgreSQL through psqlODBC"))


if __name__ == "__main__":
    main()
