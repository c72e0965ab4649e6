#!/usr/bin/env python3
"""Turns the logs of one player_bench.sh run into figures.

Reads OUTFOLDER/path.txt (the path played), modeN.log and modeN.txt (written
by tavrel_player_bench.exe) and xdotool-delayN.log (the reference runs).
Prints a Markdown report, also written to OUTFOLDER/report.md, and draws the
distribution of the gaps between key presses into OUTFOLDER/player_gaps.png
(with matplotlib) or, without it, as text into the report.

Usage: player_bench_report.py OUTFOLDER
"""

import math
import os
import statistics
import sys

VK_DOWN, VK_UP, VK_SPACE = 40, 38, 32
BUTTON_INDEX = {"DOWN": 0, "LEFT": 1, "RIGHT": 2, "UP": 3}
MODE_NAMES = {0: "Original", 1: "Surpressed", 2: "Ultra-surpressed", "b": "Original, dialog busy 40 ms a press"}
MODE_WAIT_MS = {0: 0.0, 1: 10.0, 2: 50.0, "b": 0.0}
BUSY_MS_PER_PRESS = 40


def busy_dialog(folder):
    """The run into the busy dialog: how many presses found a key already
    waiting ("AHEAD" lines), and the time from the first key to "DONE!"
    against the dialog's own busy time."""
    log, txt = os.path.join(folder, "modeb.log"), os.path.join(folder, "modeb.txt")
    if not os.path.exists(log) or not os.path.exists(txt):
        return []
    ahead = sum(1 for line in open(log, encoding="ascii", errors="replace") if " AHEAD " in line)
    lines = read_log(log)
    presses = sum(1 for _, kind, _ in lines if kind == "PRESS")
    run = read_run(txt)
    first = lines[0][0] if lines else None
    done = int(run["done_us"]) if run.get("done_us") else None
    busy_s = presses * BUSY_MS_PER_PRESS / 1000
    out = ["| dialog busy 40 ms a press | presses | presses that found a key waiting | first key to DONE! (s) | "
           "dialog's busy time (s) | ratio |", "|---|---|---|---|---|---|"]
    if first is not None and done:
        total = (done - first) / 1e6
        out.append(f"| | {presses} | {ahead} | {total:.1f} | {busy_s:.1f} | {total / busy_s:.3f} |")
    return out + [""]


def read_log(path):
    """(micros, kind, value) for every complete, well-formed line."""
    lines = []
    with open(path, encoding="ascii", errors="replace") as f:
        for raw in f:
            if not raw.endswith("\n"):
                continue
            fields = raw.split()
            if len(fields) == 3 and fields[0].isdigit() and fields[1] in ("KEYDOWN", "KEYUP", "PRESS"):
                lines.append((int(fields[0]), fields[1], fields[2]))
    return lines


def expected_events(path):
    out = []
    for entry in path:
        n = BUTTON_INDEX[entry]
        for _ in range(n):
            out += [("KEYDOWN", str(VK_DOWN)), ("KEYUP", str(VK_DOWN))]
        out += [("KEYDOWN", str(VK_SPACE)), ("KEYUP", str(VK_SPACE)), ("PRESS", entry)]
        for _ in range(n):
            out += [("KEYDOWN", str(VK_UP)), ("KEYUP", str(VK_UP))]
    return out


def matching_prefix(seen, expected):
    n = 0
    while n < len(seen) and n < len(expected) and seen[n] == expected[n]:
        n += 1
    return n


def percentile(values, p):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    rank = max(0, math.ceil(p / 100 * len(ordered)) - 1)
    return ordered[rank]


def stats(values):
    if not values:
        return None
    return {
        "n": len(values),
        "mean": statistics.fmean(values),
        "median": statistics.median(values),
        "p99": percentile(values, 99),
        "min": min(values),
        "max": max(values),
    }


def read_run(path):
    values = {}
    with open(path, encoding="ascii") as f:
        for line in f:
            key, _, value = line.strip().partition("=")
            values[key] = value
    return values


def analyse(name, requested_ms, log_path, path, run=None):
    lines = read_log(log_path)
    keys = [(t, kind, value) for t, kind, value in lines if kind != "PRESS"]
    downs = [t for t, kind, _ in keys if kind == "KEYDOWN"]
    presses = [value for _, kind, value in lines if kind == "PRESS"]
    result = {
        "name": name,
        "requested_ms": requested_ms,
        "presses": len(presses),
        "presses_in_order": matching_prefix(presses, path),
        "events_in_order": matching_prefix([(k, v) for _, k, v in lines], expected_events(path)),
        "events_expected": len(expected_events(path)),
        "events": len(lines),
        # One piece is one key's press and release; the wait comes before each.
        "piece_gaps_ms": [(b - a) / 1000 for a, b in zip(downs, downs[1:])],
        "event_gaps_ms": [(b[0] - a[0]) / 1000 for a, b in zip(keys, keys[1:])],
        "keys_s": (keys[-1][0] - keys[0][0]) / 1e6 if len(keys) > 1 else float("nan"),
    }
    if run:
        click, done = int(run["click_us"]), int(run["done_us"])
        result["first_key_s"] = (downs[0] - click) / 1e6 if downs else float("nan")
        result["total_s"] = (done - click) / 1e6
        result["playback_cpu_s"] = float(run["playback_cpu_ms"]) / 1000
        result["process_cpu_s"] = float(run["process_cpu_ms"]) / 1000
        host_playback = float(run.get("host_playback_cpu_ms", "-1"))
        host_process = float(run.get("host_process_cpu_ms", "-1"))
        result["host_playback_cpu_s"] = host_playback / 1000 if host_playback >= 0 else None
        result["host_process_cpu_s"] = host_process / 1000 if host_process >= 0 else None
        result["done_text"] = run.get("done_text", "")
    return result


def fmt(value, digits=2):
    return "–" if value is None or (isinstance(value, float) and math.isnan(value)) else f"{value:.{digits}f}"


def ascii_histogram(results):
    """Piece gaps in doubling bins, one row of bars per run."""
    edges = [0.0, 0.25, 0.5, 1, 2, 4, 8, 16, 32, 64, 128, 256, math.inf]
    out = ["```", "piece gap (ms)   " + "".join(f"{r['name'][:14]:>16}" for r in results)]
    for lo, hi in zip(edges, edges[1:]):
        label = f"{lo:g}–{hi:g}" if hi != math.inf else f"≥{lo:g}"
        row = f"{label:<17}"
        for r in results:
            gaps = r["piece_gaps_ms"]
            share = sum(lo <= g < hi for g in gaps) / len(gaps) if gaps else 0
            row += f"{'#' * round(share * 12):>12}{share * 100:3.0f}%"
        out.append(row)
    out.append("```")
    return "\n".join(out)


def plot(results, png):
    try:
        import matplotlib

        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
    except ImportError:
        return False
    fig, axes = plt.subplots(len(results), 1, figsize=(7, 1.6 * len(results)), sharex=True)
    bins = [10 ** (k / 20) for k in range(-40, 61)]  # 0.01 ms to 1 s, 20 bins a decade
    for ax, r in zip(axes, results):
        gaps = [max(g, 0.01) for g in r["piece_gaps_ms"]]
        ax.hist(gaps, bins=bins, color="tab:blue")
        if r["requested_ms"]:
            ax.axvline(r["requested_ms"], color="tab:red", linestyle="--", linewidth=1)
        ax.set_xscale("log")
        ax.set_ylabel("pieces")
        requested = f"requested {r['requested_ms']:g} ms, dashed" if r["requested_ms"] else "no wait requested"
        ax.set_title(f"{r['name']} ({requested})", fontsize=9, loc="left")
    axes[-1].set_xlabel("gap from one key press to the next (ms, log scale)")
    fig.tight_layout()
    fig.savefig(png, dpi=80)
    return True


def share_and_pacing(results):
    """Processor time as a share of one core, and each mode's median piece gap
    against the requested wait plus the median piece gap of "Original"."""
    runs = [r for r in results if r.get("total_s")]
    if not runs:
        return []
    original = next((r for r in runs if r["requested_ms"] == 0), None)
    cost = statistics.median(original["piece_gaps_ms"]) if original and original["piece_gaps_ms"] else None
    out = ["| run | click to DONE! (s) | tavrel CPU, playback (s) | share of one core | piece median (ms) | "
           "requested + Original's median (ms) | difference (ms) |", "|---|---|---|---|---|---|---|"]
    for r in runs:
        cpu = r.get("host_playback_cpu_s")
        share = f"{cpu / r['total_s'] * 100:.1f} %" if cpu is not None else "–"
        median = statistics.median(r["piece_gaps_ms"]) if r["piece_gaps_ms"] else None
        expected = r["requested_ms"] + cost if cost is not None else None
        diff = median - expected if median is not None and expected is not None else None
        out.append(f"| {r['name']} | {fmt(r['total_s'])} | {fmt(cpu)} | {share} | {fmt(median)} | "
                   f"{fmt(expected)} | {fmt(diff)} |")
    out.append("")
    return out


def startup_and_load(folder):
    out = []
    startup = os.path.join(folder, "startup.txt")
    if os.path.exists(startup):
        pairs = [tuple(float(v) for v in line.split("=", 1)[1].split())
                 for line in open(startup, encoding="ascii") if line.startswith("startup_ms=")]
        pairs = [p for p in pairs if p[0] > 0 and p[1] > 0]
        if pairs:
            program = statistics.median(p[0] for p in pairs)
            bare = statistics.median(p[1] for p in pairs)
            ratios = sorted(p[0] / p[1] for p in pairs)
            out += ["| start-up, to a visible main window | runs | tavrel.exe median (ms) | bare window median (ms) | "
                    "ratio of medians | ratio per pair, median |", "|---|---|---|---|---|---|",
                    f"| | {len(pairs)} | {program:.1f} | {bare:.1f} | {program / bare:.2f} | "
                    f"{statistics.median(ratios):.2f} |", ""]
    load = os.path.join(folder, "load.txt")
    if os.path.exists(load):
        times = [float(line.split("=", 1)[1]) for line in open(load, encoding="ascii") if line.startswith("load_ms=")]
        if times:
            out += ["| load of 32,767 lines | runs | median (ms) | min (ms) | max (ms) |", "|---|---|---|---|---|",
                    f"| | {len(times)} | {statistics.median(times):.0f} | {min(times):.0f} | {max(times):.0f} |", ""]
    return out


def main():
    folder = sys.argv[1]
    path_file = os.path.join(folder, "path.txt")
    path = open(path_file, encoding="ascii").read().split() if os.path.exists(path_file) else []
    results = []
    for mode in (0, 1, 2, "b"):
        log = os.path.join(folder, f"mode{mode}.log")
        if os.path.exists(log):
            run = read_run(os.path.join(folder, f"mode{mode}.txt"))
            results.append(analyse(f"Tavrel {MODE_NAMES[mode]}", MODE_WAIT_MS[mode], log, path, run))
    for delay in (12, 0):
        log = os.path.join(folder, f"xdotool-delay{delay}.log")
        if os.path.exists(log):
            results.append(analyse(f"xdotool --delay {delay}", float(delay), log, path))

    report = []
    report.append(f"Path: {len(path)} entries, {len(expected_events(path))} receiver log lines expected.\n")
    report.append("| run | presses in order | key events in order | click to first key (s) | "
                  "first to last key (s) | click to DONE! (s) | tavrel CPU, playback (s) | tavrel CPU, whole run (s) |")
    report.append("|---|---|---|---|---|---|---|---|")
    for r in results:
        cpu = [f"{fmt(r.get(k))} (GetProcessTimes {fmt(r.get(g))})" if r.get(k) is not None else fmt(r.get(g))
               for k, g in (("host_playback_cpu_s", "playback_cpu_s"), ("host_process_cpu_s", "process_cpu_s"))]
        report.append(
            f"| {r['name']} | {r['presses_in_order']} of {len(path)} | {r['events_in_order']} of {r['events_expected']} | "
            f"{fmt(r.get('first_key_s'), 3)} | {fmt(r['keys_s'])} | {fmt(r.get('total_s'))} | {cpu[0]} | {cpu[1]} |")
    report.append("")
    report.append("Gaps in ms. Piece: from one key press to the next (each piece is one key, pressed and released; "
                  "the requested wait comes before each). Event: between successive key events, presses and releases.\n")
    report.append("| run | requested | piece mean | piece median | piece p99 | piece min | piece max | "
                  "event mean | event median | event p99 |")
    report.append("|---|---|---|---|---|---|---|---|---|---|")
    for r in results:
        p, e = stats(r["piece_gaps_ms"]), stats(r["event_gaps_ms"])
        if not p or not e:
            report.append(f"| {r['name']} | {r['requested_ms']:g} | no key events |  |  |  |  |  |  |  |")
            continue
        report.append(
            f"| {r['name']} | {r['requested_ms']:g} | {fmt(p['mean'])} | {fmt(p['median'])} | {fmt(p['p99'])} | "
            f"{fmt(p['min'])} | {fmt(p['max'])} | {fmt(e['mean'])} | {fmt(e['median'])} | {fmt(e['p99'])} |")
    report.append("")
    report.extend(share_and_pacing(results))
    report.extend(busy_dialog(folder))
    report.extend(startup_and_load(folder))
    png = os.path.join(folder, "player_gaps.png")
    if not plot(results, png):
        report.append(ascii_histogram(results))
        report.append("")
    text = "\n".join(report)
    with open(os.path.join(folder, "report.md"), "w", encoding="utf-8") as f:
        f.write(text + "\n")
    print(text)


if __name__ == "__main__":
    main()
