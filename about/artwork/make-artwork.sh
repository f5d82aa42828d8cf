#!/usr/bin/env bash
# Draws the About window's 500 x 350 artwork and encodes it with our own
# command-line encoder. Run once; the result, frmAbout.jpg, is committed and
# compiled into the library as a resource.
# Usage: about/artwork/make-artwork.sh PATH/TO/vardolin-jpeg
set -euo pipefail

encoder=${1:?usage: make-artwork.sh PATH/TO/vardolin-jpeg}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

latin=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
latin_bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
chinese=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc

# ImageMagick's real binary (/usr/local/bin/convert may be a stand-in).
/usr/bin/convert -size 500x350 gradient:'#12304d'-'#2f7fa8' \
  \( -size 900x700 radial-gradient:'#ffffff40'-'#ffffff00' -geometry -330-260 \) -compose over -composite \
  -fill '#0a1a2a' -draw 'rectangle 0,0 499,19' \
  -fill '#1e4466' -draw 'rectangle 0,20 499,20' \
  -fill '#b03a2e' -draw 'rectangle 472,0 496,19' \
  -stroke white -strokewidth 2 -draw 'line 479,5 489,14' -draw 'line 489,5 479,14' -stroke none \
  -font "$chinese" -pointsize 12 -fill '#dce8f2' -annotate +8+15 '关于 Vardolin' \
  -fill '#e9f1f7' -draw 'roundrectangle 52,118 198,222 14,14' \
  -fill '#e9f1f7' -draw 'roundrectangle 78,100 128,124 6,6' \
  -fill '#f4c542' -draw 'rectangle 166,130 184,140' \
  -fill '#12304d' -draw 'circle 125,170 125,128' \
  -fill '#2f7fa8' -draw 'circle 125,170 125,140' \
  -fill '#9fd3ef' -draw 'circle 125,170 125,154' \
  -fill '#ffffff' -draw 'circle 116,161 116,156' \
  -font "$latin_bold" -pointsize 52 -fill white -annotate +222+178 'Vardolin' \
  -font "$chinese" -pointsize 22 -fill '#dce8f2' -annotate +224+214 '照片采集组件' \
  -fill '#ffffff30' -draw 'rectangle 222,232 470,233' \
  -font "$chinese" -pointsize 13 -fill '#c4d9e8' -annotate +224+256 '版本 1.0' \
  -font "$latin" -pointsize 13 -fill '#c4d9e8' -annotate +224+278 'https://vardolin.example/' \
  -font "$latin" -pointsize 11 -fill '#9ab8cc' -annotate +20+334 '© 2026 Vardolin' \
  -depth 8 -type TrueColor "ppm:$tmp/frmAbout.ppm"

"$encoder" "$tmp/frmAbout.ppm" "$here/frmAbout.jpg" --quality 92 --force
