"""Prints each benchmark's median CPU time over its baseline's (BM_X against BM_XBaseline)."""
import json
import re
import sys

medians = {}
for path in sys.argv[1:]:
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                medians[b["run_name"]] = b["cpu_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1, "s": 1e3}[b["time_unit"]]

def baseline_of(name):
    base, _, arg = name.partition("/")
    family = re.sub(r"(Sweep|Matches|Tick|Paint|Append|Grid)$", r"\1", base)
    for candidate in (family + "Baseline" + ("/" + arg if arg else ""), family + "Baseline"):
        if candidate in medians:
            return candidate
    return None

print(f"{'benchmark':45} {'ms':>10} {'baseline':35} {'ms':>10} {'ratio':>7}")
for name, ms in sorted(medians.items()):
    if "Baseline" in name:
        continue
    base = baseline_of(name)
    if base:
        print(f"{name:45} {ms:10.3f} {base:35} {medians[base]:10.3f} {ms / medians[base]:7.2f}")
    else:
        print(f"{name:45} {ms:10.3f}")
