#!/bin/bash
# Draws the program's icon: a key cap with an eighth note on it.
#
# Writes, next to this script:
#   morvane.ico       16, 24, 32, 48, 64 and 256 pixels
#   morvane-256.png   the 256 pixel image, for previews
#
# 16 and 24 pixels are drawn pixel by pixel, so that they stay sharp; the
# larger sizes are drawn from one outline at eight times their size and
# averaged down, with their edges on whole pixels where the sizes allow.
#
# Needs ImageMagick 6 (convert). The output is the same on every run.
set -euo pipefail

OUT_DIR=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

OUTLINE=#2b2d42        # dark rim round the key
SIDE=#c9c1b0           # sides of the key cap
FACE=#f7f3ea           # top of the key cap
NOTE=#8e24aa           # the note

# Written PNGs carry no time stamps, so that every run gives the same bytes.
# shellcheck disable=SC2054  # the commas belong to the options
PNG_OPTS=(-strip -define png:exclude-chunks=date,time -define png:color-type=6 -depth 8)

# ---------------------------------------------------------------------------
# Pixel drawings. One character per pixel:
#   .  transparent   o  rim   b  side   f  face   n  note

read -r -d '' ICON_16 <<'EOF' || true
..oooooooooooo..
.offffffffffffo.
offffffnnffffffo
offffffnnnfffffo
offffffnnnnffffo
offffffnnfnffffo
offffffnnffnfffo
offffffnnffnfffo
offffnnnnfnffffo
offfnnnnnffffffo
offfnnnnfffffffo
offffffffffffffo
obbbbbbbbbbbbbbo
obbbbbbbbbbbbbbo
.obbbbbbbbbbbbo.
..oooooooooooo..
EOF

read -r -d '' ICON_24 <<'EOF' || true
...oooooooooooooooooo...
.ooffffffffffffffffffoo.
.obffffffffffffffffffbo.
obffffffffffnnffffffffbo
obffffffffffnnnfffffffbo
obffffffffffnnnnffffffbo
obffffffffffnnnnnfffffbo
obffffffffffnnfnnnffffbo
obffffffffffnnffnnffffbo
obffffffffffnnffnnnfffbo
obffffffffffnnfffnnfffbo
obffffffffffnnfffnnfffbo
obffffffffffnnffffnfffbo
obfffffffnnnnnffffnfffbo
obfffffnnnnnnnffffffffbo
obffffnnnnnnnnffffffffbo
obffffnnnnnnnfffffffffbo
obfffffnnnnfffffffffffbo
obbbbbbbbbbbbbbbbbbbbbbo
obbbbbbbbbbbbbbbbbbbbbbo
obbbbbbbbbbbbbbbbbbbbbbo
.obbbbbbbbbbbbbbbbbbbbo.
.oobbbbbbbbbbbbbbbbbboo.
...oooooooooooooooooo...
EOF

# hex_rgba #rrggbb: "r,g,b,255"
hex_rgba() {
    printf '%d,%d,%d,255' "0x${1:1:2}" "0x${1:3:2}" "0x${1:5:2}"
}

# pixel_icon SIZE DRAWING OUT.png
pixel_icon() {
    local size=$1 drawing=$2 out=$3 x y row c colour
    local -A palette=(
        [.]="0,0,0,0"
        [o]=$(hex_rgba "$OUTLINE")
        [b]=$(hex_rgba "$SIDE")
        [f]=$(hex_rgba "$FACE")
        [n]=$(hex_rgba "$NOTE")
    )
    local -a rows
    mapfile -t rows <<< "$drawing"
    if (( ${#rows[@]} != size )); then
        echo "drawing for $size px has ${#rows[@]} rows" >&2
        exit 1
    fi
    {
        echo "# ImageMagick pixel enumeration: $size,$size,255,srgba"
        for (( y = 0; y < size; y++ )); do
            row=${rows[y]}
            if (( ${#row} != size )); then
                echo "row $y of the $size px drawing is ${#row} wide" >&2
                exit 1
            fi
            for (( x = 0; x < size; x++ )); do
                c=${row:x:1}
                colour=${palette[$c]:-}
                [[ -n $colour ]] || { echo "unknown pixel '$c'" >&2; exit 1; }
                echo "$x,$y: ($colour)"
            done
        done
    } > "$WORK/icon-$size.txt"
    convert "txt:$WORK/icon-$size.txt" "${PNG_OPTS[@]}" "$out"
}

# ---------------------------------------------------------------------------
# The outline, in units of 1/256 of the icon's size. Edges lie on multiples
# of 16 units, which are whole pixels at 32, 48, 64 and 256 pixels.

KEY_RADIUS=56
SIDE_X0=16;  SIDE_Y0=16;  SIDE_X1=240; SIDE_Y1=240; SIDE_RADIUS=44
FACE_X0=32;  FACE_Y0=16;  FACE_X1=224; FACE_Y1=192; FACE_RADIUS=32
STEM_X0=128; STEM_X1=144; STEM_Y0=48;  STEM_Y1=160
HEAD_X=104;  HEAD_Y=160;  HEAD_RX=40;  HEAD_RY=27;  HEAD_ANGLE=-22
FLAG_PATH="M 144,48 C 146,92 206,94 196,156 C 188,124 172,114 144,110 Z"

outline_mvg() {
    cat <<EOF
fill $OUTLINE roundrectangle 0,0 256,256 $KEY_RADIUS,$KEY_RADIUS
fill $SIDE roundrectangle $SIDE_X0,$SIDE_Y0 $SIDE_X1,$SIDE_Y1 $SIDE_RADIUS,$SIDE_RADIUS
fill $FACE roundrectangle $FACE_X0,$FACE_Y0 $FACE_X1,$FACE_Y1 $FACE_RADIUS,$FACE_RADIUS
fill $NOTE
rectangle $STEM_X0,$STEM_Y0 $STEM_X1,$STEM_Y1
path '$FLAG_PATH'
push graphic-context
  translate $HEAD_X,$HEAD_Y
  rotate $HEAD_ANGLE
  ellipse 0,0 $HEAD_RX,$HEAD_RY 0,360
pop graphic-context
EOF
}

# outline_icon SIZE OUT.png
outline_icon() {
    local size=$1 out=$2 over=8
    local big=$(( size * over ))
    # Shapes fill half a pixel beyond their edges; at eight times the size
    # that is a sixteenth of a pixel of the result.
    local scale
    scale=$(awk -v b="$big" 'BEGIN { printf "%.6f", b / 256 }')
    convert -size "${big}x${big}" xc:none -stroke none \
        -draw "affine $scale,0,0,$scale,-0.5,-0.5 $(outline_mvg)" \
        -scale "${size}x${size}" "${PNG_OPTS[@]}" "$out"
}

pixel_icon 16 "$ICON_16" "$WORK/16.png"
pixel_icon 24 "$ICON_24" "$WORK/24.png"
for size in 32 48 64 256; do
    outline_icon "$size" "$WORK/$size.png"
done

convert "$WORK"/{16,24,32,48,64,256}.png "$OUT_DIR/morvane.ico"
cp "$WORK/256.png" "$OUT_DIR/morvane-256.png"
