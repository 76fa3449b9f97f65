#!/usr/bin/env python3
"""Ratios of the fast paths against the plain loop of the same run.

Usage: smoothing_bench --benchmark_repetitions=3 --benchmark_format=json > s.json
       density_bench --benchmark_repetitions=3 --benchmark_format=json > d.json
       python3 bench/ratios.py s.json d.json
Prints a Markdown table: min and median wall time of the repetitions, the
ratios plain/fast of the minima and of the medians, and max_rel_dev (the
redraw: differing_pixels).
"""
import json
import statistics
import sys


THREADS = ("_one_thread", "_two_threads", "_all_cores")


def key_of(name):
    # BM_SmoothFast/half_regular_one_thread/5 -> ("Smooth", "half_regular", "5")
    # BM_Density/half_fast_all_cores/5 -> ("Density", "half", "5")
    func, capture, arg = name.split("/")[:3]
    if func.startswith("BM_Redraw"):
        return "Redraw", "", ""
    family = "Density" if func.startswith("BM_Density") else "Smooth"
    for suffix in THREADS:
        if capture.endswith(suffix):
            capture = capture[: -len(suffix)]
    if family == "Density":
        grid = "half" if capture.startswith("half") else ""
    else:
        grid = capture
    return family, grid, arg


def is_plain(name):
    func, capture = name.split("/")[:2]
    return "Plain" in func or capture.endswith("plain")


def ratio_text(r):
    return f"{r:.0f}x" if r >= 10 else f"{r:.1f}x"


def main(paths):
    runs = {}
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        for b in data["benchmarks"]:
            if b.get("run_type") != "iteration":
                continue
            r = runs.setdefault(b["run_name"], {"times": [], "dev": []})
            r["times"].append(b["real_time"])
            for counter in ("max_rel_dev", "differing_pixels"):
                if counter in b:
                    r["dev"].append(b[counter])
    plain = {key_of(n): r for n, r in runs.items() if is_plain(n)}
    print("| benchmark | min ms | median ms | ratio (min) | ratio (median) | max rel. deviation |")
    print("|---|---:|---:|---:|---:|---:|")
    for name, r in runs.items():
        t = r["times"]
        ref = plain.get(key_of(name))
        ratio_min = ratio_med = ""
        if ref and ref is not r:
            ratio_min = ratio_text(min(ref["times"]) / min(t))
            ratio_med = ratio_text(statistics.median(ref["times"]) / statistics.median(t))
        dev = f"{max(r['dev']):.1e}" if r["dev"] else ""
        print(f"| {name} | {min(t):.1f} | {statistics.median(t):.1f} | {ratio_min} | {ratio_med} | {dev} |")


if __name__ == "__main__":
    main(sys.argv[1:])
