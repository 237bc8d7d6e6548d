#!/usr/bin/env bash
# Installs what is missing, builds, and prints the benchmark figures of Quelbrin under Wine as one
# table. Nothing is judged. Options: --idle SECONDS (default 60), --soak MINUTES and --burst PRESSES
# add the long runs after the table.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
idle=60; soak=0; burst=0
while [ $# -gt 0 ]; do
  case "$1" in
    --idle) idle="$2"; shift 2 ;;
    --soak) soak="$2"; shift 2 ;;
    --burst) burst="$2"; shift 2 ;;
    *) echo "usage: $0 [--idle SECONDS] [--soak MINUTES] [--burst PRESSES]" >&2; exit 2 ;;
  esac
done
"$ROOT/scripts/setup.sh" || exit 1
source "$ROOT/scripts/wine-env.sh"
trap quelbrin_env_stop EXIT
trap "exit 130" INT TERM
quelbrin_env_start --private-display || exit 1
bin="$BUILD_DIR/bin"
out="$(mktemp -d)"

echo "running the click cadence bench..." >&2
"$WINE_BIN" "$bin/click_cadence_bench.exe" > "$out/cadence.txt" 2>&1
echo "running the system bench (idle ${idle} s)..." >&2
# Wine does not report another process's memory; the host's view of the program's peak
# resident size stands in for its peak working set there.
( peak=0
  while :; do
    for pid in $(pgrep -f 'Quelbrin\.exe' 2>/dev/null); do
      hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
      [ -n "$hwm" ] && [ "$hwm" -gt "$peak" ] && peak=$hwm && echo "$peak" > "$out/host-peak.txt"
    done
    sleep 0.5
  done ) &
sampler=$!
"$WINE_BIN" "$bin/system_bench.exe" figures "$idle" > "$out/system.txt" 2>&1
kill "$sampler" 2>/dev/null; wait "$sampler" 2>/dev/null
figure() { awk -v k="$1" '$1 == k { print $2 }' "$out/system.txt"; }

machine="$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n1), $(nproc) cores, $(free -g | awk '/Mem:/ {print $2}') GiB"
echo
echo "Quelbrin benchmark, $(date -u +%Y-%m-%d), $machine, $(wine64 --version 2>/dev/null || "$WINE_BIN" --version) on Xvfb"
echo
echo "| figure | value |"
echo "|---|---|"
awk '$1 ~ /^[0-9]+$/ && $2 ~ /\// {
       printf "| click period error at %s ms: p50 / p99 / drift | %.2f / %.2f / %+.1f ms (%s clicks, mean period %.2f ms) |\n", $1, $5, $6, $7, $2, $3
     }' "$out/cadence.txt"
echo "| F5 to click-timer start: p50 / p99 | $(figure f5_to_timer_p50_ms) / $(figure f5_to_timer_p99_ms) ms ($(figure f5_to_timer_samples) presses) |"
echo "| idle processor use over $(figure idle_seconds) s | $(figure idle_cpu_percent) % of one core |"
peak="$(figure peak_working_set_kib)"
if [ "${peak:-0}" = "0" ] && [ -f "$out/host-peak.txt" ]; then
  echo "| peak working set (peak resident size seen by the host) | $(cat "$out/host-peak.txt") KiB |"
else
  echo "| peak working set | ${peak} KiB |"
fi
echo "| start-up, process start to window visible (median of 5) | $(figure startup_ms) ms |"
echo "| binary size (Quelbrin.exe, static) | $(figure binary_size_kib) KiB |"

if [ "$burst" -gt 0 ]; then
  echo; echo "F5 burst:"; "$WINE_BIN" "$bin/system_bench.exe" burst "$burst"
fi
if [ "$soak" -gt 0 ]; then
  echo; echo "Clicking every 10 ms for $soak minutes:"; "$WINE_BIN" "$bin/system_bench.exe" soak "$soak"
fi
if grep -qiE "did not|cannot|usage:|no shared" "$out/cadence.txt" "$out/system.txt"; then
  echo; echo "Raw output:"; cat "$out/cadence.txt" "$out/system.txt"
fi
rm -rf "$out"
