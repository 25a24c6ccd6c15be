#!/usr/bin/env bash
# Start-up benchmark: how long the study guide takes to show its window,
# next to a bare program that hosts the same browser control (bench/baseline.cpp).
# Prints figures only; it judges nothing. See bench/README.md.
#
#   bench/startup.sh              15 runs of each program, alternating
#   BENCH_RUNS=31 bench/startup.sh
#   BENCH_SKIP_BUILD=1 ...        use what is already built
#   BENCH_KEEP=1 ...              keep the temporary folder and print where it is
#   BENCH_WINEPREFIX=DIR ...      the benchmark's Wine prefix (default build/wineprefix-bench-<arch>)
#   BENCH_HTML_ENGINE=off ...     keep Wine's HTML engine out of both programs
#                                 (see bench/README.md: without Gecko installed,
#                                 loading it starts an installer process each run)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"  # the build presets are looked up here
runs="${BENCH_RUNS:-15}"
# shellcheck source=../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
# shellcheck source=../scripts/display.sh
source "$root/scripts/display.sh"
arch="$(studyguide_arch)"

# --- Build: the shipped 32-bit program folder (for its size) and the build that runs
# here with the two bench programs. Only these targets, not the tests.
build_targets() {
  local preset="$1"; shift
  # Configure when the build folder is new or predates the bench targets.
  if [ ! -f "$root/build/$preset/CMakeCache.txt" ] ||
     ! cmake --build --preset "$preset" --target help 2>/dev/null | grep bench_launcher >/dev/null; then
    cmake --preset "$preset" >&2
  fi
  cmake --build --preset "$preset" -j"$(nproc)" --target "$@" >&2
}
if [ -z "${BENCH_SKIP_BUILD:-}" ]; then
  echo "bench: building" >&2
  if [ "$arch" = win32 ]; then
    build_targets win32 dist bench_baseline bench_launcher
  else
    build_targets win32 dist
    build_targets win64 dist bench_baseline bench_launcher
  fi
fi
dist="$root/build/$arch/dist"
bench_bin="$root/build/$arch/bench"
for f in "$dist/Project2.exe" "$bench_bin/baseline.exe" "$bench_bin/launcher.exe"; do
  [ -f "$f" ] || { echo "bench: missing $f" >&2; exit 1; }
done

# --- Wine: a prefix of the benchmark's own, where opening a web address
# through the shell runs the launcher's no-op instead of a browser (the study
# guide opens one when it closes).
export STUDYGUIDE_WINEPREFIX="${BENCH_WINEPREFIX:-$root/build/wineprefix-bench-$arch}"
studyguide_wine_env
studyguide_wine_prefix
html_engine="${BENCH_HTML_ENGINE:-on}"
case "$html_engine" in
  on) ;;
  off) export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mshtml=d" ;;
  *) echo "bench: BENCH_HTML_ENGINE is on or off" >&2; exit 1 ;;
esac
noop_dir="$WINEPREFIX/drive_c/studyguide-bench"
mkdir -p "$noop_dir"
cp "$bench_bin/launcher.exe" "$noop_dir/noop.exe"
if [ ! -f "$WINEPREFIX/.studyguide-bench-ready" ]; then
  for scheme in http https; do
    "$STUDYGUIDE_WINE" reg add "HKCR\\$scheme\\shell\\open\\command" /ve \
      /d '"C:\studyguide-bench\noop.exe" --noop "%1"' /f >/dev/null 2>&1
  done
  # A program that crashes ends at once: its "debugger" is the no-op too, in
  # place of Wine's, which would hold the program for seconds and linger into
  # the runs after it. The launcher reports the crash in its exit_code figure.
  for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
             'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
    "$STUDYGUIDE_WINE" reg add "$key" /v Debugger \
      /d '"C:\studyguide-bench\noop.exe" --noop %ld %ld' /f >/dev/null 2>&1 || true
  done
  "${WINESERVER:-wineserver}" -w
  touch "$WINEPREFIX/.studyguide-bench-ready"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/studyguide-bench.XXXXXX")"
cleanup() {
  "${WINESERVER:-wineserver}" -k 2>/dev/null || true
  studyguide_display_stop
  if [ -n "${BENCH_KEEP:-}" ]; then echo "bench: kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
studyguide_display_start
# One Wine server and one set of Wine's own services for every run, so no run
# pays for starting them. They are started here with their output going
# nowhere: they outlive the runs and would hold a run's output open.
"${WINESERVER:-wineserver}" -p
"$STUDYGUIDE_WINE" wineboot >/dev/null 2>&1 </dev/null || true

# --- The program folder with the baseline beside it.
app="$work/app"
mkdir -p "$app"
cp -r "$dist/." "$app/"
cp "$bench_bin/baseline.exe" "$app/baseline.exe"
cp "$bench_bin/launcher.exe" "$work/launcher.exe"
win_app="Z:${app//\//\\}"

launch() {  # launch PROGRAM.exe OUTPUT: one figure line from the launcher into OUTPUT
  "$STUDYGUIDE_WINE" "$work/launcher.exe" "$win_app\\$1" "$win_app" >"$2" 2>>"$work/errors.txt" </dev/null
}

echo "bench: warming up" >&2
launch Project2.exe "$work/line.txt" || true
launch baseline.exe "$work/line.txt" || true

results="$work/results.txt"
: >"$results"
for i in $(seq 1 "$runs"); do
  for program in Project2.exe baseline.exe; do
    if launch "$program" "$work/line.txt" && [ -s "$work/line.txt" ]; then
      echo "$program $(head -n1 "$work/line.txt")" >>"$results"
    else
      echo "$program failed" >>"$results"
    fi
  done
  echo "bench: run $i/$runs" >&2
done

shipped="$root/build/win32/dist/Project2.exe"
twin="$root/build/win64/dist/Project2.exe"
# What the launcher said when a run failed.
grep -a '^launcher:' "$work/errors.txt" 2>/dev/null | sort | uniq -c | sed 's/^/bench: /' >&2 || true
python3 - "$results" "$runs" "$arch" "$html_engine" "$shipped" "$twin" <<'EOF'
import os, statistics, sys

results, runs, arch, html_engine, shipped, twin = sys.argv[1:7]
runs = int(runs)
rows = {"Project2.exe": [], "baseline.exe": []}
failed = {"Project2.exe": 0, "baseline.exe": 0}
notes = {"Project2.exe": set(), "baseline.exe": set()}
for line in open(results):
    program, _, rest = line.strip().partition(" ")
    if rest == "failed":
        failed[program] += 1
        continue
    fields = dict(part.split("=", 1) for part in rest.split())
    rows[program].append(fields)
    notes[program].add(f"window {fields['window_class']}, close {fields['close']}, exit {fields['exit_code']}")

def quartiles(values):
    if len(values) < 2:
        return values[0], values[0]
    q = statistics.quantiles(values, n=4, method="inclusive")
    return q[0], q[2]

print(f"start-up benchmark: {runs} runs each, alternating; Wine build {arch}; HTML engine {html_engine}")
medians = {}
for program, label in (("Project2.exe", "study guide"), ("baseline.exe", "baseline")):
    times = [float(r["startup_ms"]) for r in rows[program]]
    peaks = [int(r["peak_ws_kib"]) for r in rows[program]]
    if not times:
        print(f"  {label:12s} no measurement ({failed[program]} failed)")
        continue
    medians[program] = statistics.median(times)
    q1, q3 = quartiles(times)
    print(f"  {label:12s} start-to-window median {medians[program]:8.1f} ms"
          f"   IQR {q1:.1f}-{q3:.1f}   min-max {min(times):.1f}-{max(times):.1f}"
          f"   ({len(times)} ok, {failed[program]} failed; {'; '.join(sorted(notes[program]))})")
    print(f"  {label:12s} peak working set median {statistics.median(peaks) / 1024:8.1f} MiB"
          f"   min-max {min(peaks) / 1024:.1f}-{max(peaks) / 1024:.1f}")

if len(medians) == 2:
    ratio = medians["Project2.exe"] / medians["baseline.exe"]
    print(f"  ratio study guide / baseline (medians): {ratio:.3f}   (target at most 1.10)")
    pairs = [float(p["startup_ms"]) / float(b["startup_ms"])
             for p, b in zip(rows["Project2.exe"], rows["baseline.exe"])]
    if pairs:
        print(f"  ratio per alternating pair: median {statistics.median(pairs):.3f}"
              f"   min-max {min(pairs):.3f}-{max(pairs):.3f}")

for label, path in (("shipped 32-bit", shipped), ("64-bit twin", twin)):
    if os.path.exists(path):
        size = os.path.getsize(path)
        print(f"  {label:15s} Project2.exe {size:9d} bytes = {size / 1048576:.3f} MiB"
              + ("   (target under 1 MiB)" if label.startswith("shipped") else ""))
    else:
        print(f"  {label:15s} Project2.exe not built ({path})")
EOF
