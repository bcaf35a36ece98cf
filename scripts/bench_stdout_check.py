"""Runs a benchmark program briefly with JSON output and fails unless its
standard output is Google Benchmark's JSON alone."""
import json
import subprocess
import sys

program = sys.argv[1]
run = subprocess.run([program, "--benchmark_format=json", "--benchmark_min_time=0.001"],
                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=1200)
if run.returncode != 0:
    sys.exit(f"{program} failed with status {run.returncode}:\n{run.stderr}")
try:
    report = json.loads(run.stdout)
except json.JSONDecodeError as error:
    sys.exit(f"standard output of {program} is not JSON alone ({error}):\n{run.stdout[:2000]}")
if not report.get("benchmarks"):
    sys.exit(f"{program} ran no benchmark")
print(f"{program}: {len(report['benchmarks'])} results, standard output is JSON alone")
