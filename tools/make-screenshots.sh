#!/usr/bin/env bash
# Refreshes the user guide's pictures (docs/images/*.png): makes the demo
# project with kora-sample, then runs kora-screenshots, which drives KORA's
# main window through its own actions under a virtual X server (Xvfb) and
# photographs each task. Builds nothing: pass the build folder (default
# build/) in which kora-sample and kora-screenshots were built.
#
#   tools/make-screenshots.sh [BUILD_DIR]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sample="$build/bin/kora-sample"
shots="$build/bin/kora-screenshots"
for tool in "$sample" "$shots"; do
  if [ ! -x "$tool" ]; then
    echo "make-screenshots: $tool is missing; build it first:" >&2
    echo "  cmake --build $build --target kora-sample kora-screenshots" >&2
    exit 1
  fi
done
command -v xvfb-run >/dev/null || { echo "make-screenshots: xvfb-run is missing (package xvfb)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$sample" --out "$work/demo.prj" --from 0 --to 30 --diameter 110 --width 1024 --seed 7 \
    --name "Demo borehole" --features-csv "$work/features.csv" >/dev/null

mkdir -p "$root/docs/images"
# A screen the size of a laptop's; the window takes 1360 x 800 of it.
timeout 600 xvfb-run -a -s "-screen 0 1440x860x24" env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
    "$shots" --project "$work/demo.prj" --features "$work/features.csv" \
    --diameter 110 --out "$root/docs/images"
ls -l "$root/docs/images"
