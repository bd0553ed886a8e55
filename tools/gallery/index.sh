#!/bin/sh
# Writes index.html beside the gallery pictures so they can be looked at in a browser.
set -eu
dir=${1:-build/default/gallery}
[ -d "$dir" ] || { echo "gallery: no pictures in $dir (run make gallery)" >&2; exit 1; }
{
  echo '<!doctype html><meta charset="utf-8"><title>Showrama gallery</title>'
  echo '<style>body{background:#008080;color:#fff;font:13px sans-serif}figure{display:inline-block;margin:12px}img{border:1px solid #000;image-rendering:pixelated}</style>'
  echo '<h1>Showrama gallery</h1>'
  for f in "$dir"/*.png; do
    [ -e "$f" ] || continue
    n=$(basename "$f")
    echo "<figure><img src=\"$n\" alt=\"$n\"><figcaption>$n</figcaption></figure>"
  done
} > "$dir/index.html"
echo "gallery: $(ls "$dir"/*.png 2>/dev/null | wc -l) pictures, open $dir/index.html"
