"""Prints each benchmark's median wall time over its baseline's, both from the same run."""
import json
import re
import sys

# Benchmarks whose baseline is not simply their own name with "Baseline" added.
BASELINES = {
    "BM_AutoReadSweep": "BM_AutoReadBaseline",
    "BM_UndoSort": "BM_SortGrid",
    "BM_AutoReadMatches": "BM_GridAppendBaseline",
    "BM_AutoReadAffine": "BM_AutoReadSweep",
    "BM_AffineTransform": "BM_FrameTransform",
    "BM_CurveSwitch": "BM_PicturePaintBaseline",
}

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

# Keys of a benchmark's JSON entry that are not counters of its own.
STANDARD = {"name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
            "threads", "aggregate_name", "aggregate_unit", "iterations", "real_time", "cpu_time", "time_unit",
            "label", "repetition_index", "error_occurred", "error_message"}

for path in sys.argv[1:]:
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    medians = {}
    labels = {}
    counters = {}
    for b in runs:
        # A benchmark of one round (a baseline minutes long) has no aggregates: its one run stands.
        single = b.get("run_type") == "iteration" and b.get("repetitions") == 1
        if b.get("aggregate_name") == "median" or single:
            name = re.sub(r"/(real_time|iterations:\d+|repeats:\d+)", "", b["run_name"])
            medians[name] = b["real_time"] * UNIT_MS[b["time_unit"]]
            labels[name] = b.get("label", "")
            counters[name] = {k: v for k, v in b.items() if k not in STANDARD and isinstance(v, (int, float))}
    for name, ms in medians.items():
        if "Baseline" in name:
            continue
        family, slash, arg = name.partition("/")
        base_family = BASELINES.get(family, family + "Baseline")
        base = next((c for c in (base_family + slash + arg, base_family) if c in medians), None)
        label = f" ({labels[name]})" if labels[name] else ""
        extra = "".join(f"  {k} {v:.3f}" for k, v in counters[name].items())
        if base:
            print(f"{name + label:40} {ms:10.3f} ms  vs {base:30} {medians[base]:10.3f} ms  ratio {ms / medians[base]:5.2f}{extra}")
        else:
            print(f"{name + label:40} {ms:10.3f} ms{extra}")
