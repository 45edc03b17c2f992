#!/usr/bin/env bash
# Regenerates packaging/icons/ from the game's 32x32 window icon. Pixel art, so
# the larger sizes repeat pixels (nearest neighbour) instead of blurring them.
# Metadata is stripped so that the output only changes when the art does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src="$here/../assets/formdata/icon.gif"
for size in 32 48 64 128 256; do
  convert "$src" -sample "${size}x${size}" -strip -define png:exclude-chunks=date,time \
    "$here/icons/korvalen-$size.png"
done
