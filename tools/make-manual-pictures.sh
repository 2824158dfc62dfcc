#!/usr/bin/env bash
# Paints the pictures of the user manual (data/manual/) and the screenshots of the AppStream
# metainfo (docs/screenshots/) with the snapshot tool, from an example folder tree made for the
# purpose.
#   tools/make-manual-pictures.sh [build folder]    (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake --build "$build" --target orbivane-snapshot orbivane-sizes orbivane_data -j2
tree="$(mktemp -d)/Home"
trap 'rm -rf "$(dirname "$tree")"' EXIT
make() { mkdir -p "$(dirname "$tree/$1")"; truncate -s "$2" "$tree/$1"; }
make Documents/report.txt 40K
make Documents/thesis.pdf 3M
make Documents/letters/old.txt 8K
make Music/album/01.ogg 6M
make Music/album/02.ogg 5M
make Music/live.ogg 9M
make Pictures/beach.jpg 4M
make Pictures/city.png 2M
make Pictures/cat.jpg 1M
make Videos/holiday.mp4 40M
make notes.txt 12K
make .hidden-settings 30K
out="$root/data/manual"
snap="$build/bin/orbivane-snapshot"
"$snap" --folder "$tree" --size 480x360 --out "$out/ring.png"
"$snap" --folder "$tree" --expand Music --size 480x360 --out "$out/expanded.png"
"$snap" --folder "$tree" --expand Pictures --size 480x360 --pointer 330,150 --out "$out/infobox.png"
shots="$root/docs/screenshots"
mkdir -p "$shots"
"$snap" --folder "$tree" --expand Pictures --size 1280x720 --pointer 900,420 --out "$shots/ring.png"
"$snap" --folder "$tree" --expand Documents --expand Pictures --size 1280x720 --out "$shots/folders.png"
# Growth since a recorded count: the tree is counted into its size history (in the build's own
# state folder, and taken out again afterwards), changed, and shown with "Show Growth".
histories="$build/bin/sizes"
before=$(ls "$histories" 2>/dev/null || true)
"$build/bin/orbivane-sizes" --record "$tree"
make Videos/holiday.mp4 70M
make Downloads/debian.iso 25M
make Music/live.ogg 12M
rm "$tree/Pictures/cat.jpg" "$tree/Documents/thesis.pdf"
"$snap" --folder "$tree" --expand Videos --size 480x360 --growth-since previous --pointer 330,150 --out "$out/growth.png"
for file in "$histories"/*; do
  grep -qxF "$(basename "$file")" <<<"$before" || rm -f "$file"
done
