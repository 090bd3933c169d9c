#!/bin/bash
# Draws the two pictures of the help window:
#   help-keyboard.jpg  930 x 527   which keys give which octave
#   help-example.jpg  1078 x 752   a song page in a browser with the main window over it
#
# Usage: make-pictures.sh [main-window.png]
#   With a screenshot of the main window (a PNG of the whole window, frame
#   included), that screenshot is scaled into the example picture; without one
#   a drawing of the main window is used.
#
# Needs ImageMagick 6 (convert), the WenQuanYi Micro Hei font and DejaVu Sans
# Mono. The output is the same on every run.
set -euo pipefail

OUT_DIR=$(cd "$(dirname "$0")" && pwd)
SHOT=${1:-}

FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
MONO=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
MONO_BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf
JPEG_QUALITY=90

for f in "$FONT" "$MONO" "$MONO_BOLD"; do
    [[ -r $f ]] || { echo "missing font: $f" >&2; exit 1; }
done
if [[ -n $SHOT && ! -r $SHOT ]]; then
    echo "cannot read screenshot: $SHOT" >&2
    exit 1
fi

# ---------------------------------------------------------------------------
# Drawing helpers. Each one appends ImageMagick operations to OPS; a picture
# is one convert run over a white canvas of CANVAS_W x CANVAS_H.

OPS=()
CANVAS_W=0
CANVAS_H=0

new_canvas() { CANVAS_W=$1; CANVAS_H=$2; OPS=(); }

add() { OPS+=("$@"); }

# rect X0 Y0 X1 Y1 FILL [STROKE [STROKE_WIDTH [RADIUS]]]
rect() {
    local x0=$1 y0=$2 x1=$3 y1=$4 fill=$5 stroke=${6:-none} sw=${7:-1} r=${8:-0}
    add -fill "$fill" -stroke "$stroke" -strokewidth "$sw"
    if (( r > 0 )); then
        add -draw "roundrectangle $x0,$y0 $x1,$y1 $r,$r"
    else
        add -draw "rectangle $x0,$y0 $x1,$y1"
    fi
}

# line X0 Y0 X1 Y1 COLOUR WIDTH
line() {
    add -fill none -stroke "$5" -strokewidth "$6" -draw "line $1,$2 $3,$4"
}

# polyline COLOUR WIDTH X0,Y0 X1,Y1 ...
polyline() {
    local colour=$1 width=$2
    shift 2
    add -fill none -stroke "$colour" -strokewidth "$width" -draw "polyline $*"
}

# polygon COLOUR X0,Y0 X1,Y1 ...
polygon() {
    local colour=$1
    shift
    add -fill "$colour" -stroke none -draw "polygon $*"
}

# dot X Y RADIUS COLOUR
dot() {
    add -fill "$4" -stroke none -draw "circle $1,$2 $(( $1 + $3 )),$2"
}

# arrow_up X Y_FROM Y_TO COLOUR WIDTH: a vertical arrow with its head at Y_TO.
arrow_up() {
    local x=$1 from=$2 to=$3 colour=$4 width=$5
    local head=$(( width * 4 ))
    line "$x" "$from" "$x" $(( to + head )) "$colour" "$width"
    polygon "$colour" "$(( x - head * 3 / 4 )),$(( to + head + 2 ))" \
        "$(( x + head * 3 / 4 )),$(( to + head + 2 ))" "$x,$to"
}

# Offsets for -annotate are relative to the point that the gravity names.
signed() { printf '%+d%+d' "$1" "$2"; }

# text X Y W H SIZE COLOUR ALIGN FONT TEXT [BOLDNESS]
#   Writes TEXT inside the box X,Y W x H: ALIGN is west, center or east;
#   the text is centred vertically. BOLDNESS > 0 thickens the strokes
#   (the CJK font has no bold face).
text() {
    local x=$1 y=$2 w=$3 h=$4 size=$5 colour=$6 align=$7 font=$8 str=$9 bold=${10:-0}
    local dy=$(( y + h / 2 - CANVAS_H / 2 )) gravity geom
    case $align in
        west)   gravity=West;   geom=$(signed "$x" "$dy") ;;
        east)   gravity=East;   geom=$(signed $(( CANVAS_W - x - w )) "$dy") ;;
        center) gravity=Center; geom=$(signed $(( x + w / 2 - CANVAS_W / 2 )) "$dy") ;;
        *) echo "bad alignment: $align" >&2; exit 1 ;;
    esac
    # -annotate expands % escapes and reads a file for a leading @.
    str=${str//%/%%}
    [[ $str == @* ]] && str="\\$str"
    if [[ $bold != 0 ]]; then
        add -stroke "$colour" -strokewidth "$bold"
    else
        add -stroke none
    fi
    add -fill "$colour" -font "$font" -pointsize "$size" -gravity "$gravity" \
        -annotate "$geom" "$str" -gravity NorthWest
}

# A soft drop shadow under the box X0,Y0 X1,Y1.
shadow() {
    local x0=$1 y0=$2 x1=$3 y1=$4 i
    for i in 6 4 2; do
        rect $(( x0 + i )) $(( y0 + i )) $(( x1 + i )) $(( y1 + i )) "rgba(0,0,0,0.10)"
    done
}

# write_jpeg FILE [EXTRA_ARGS...]
write_jpeg() {
    local file=$1
    shift
    convert -size "${CANVAS_W}x${CANVAS_H}" xc:white "${OPS[@]}" "$@" \
        -strip -colorspace sRGB -type TrueColor -sampling-factor 1x1 \
        -quality "$JPEG_QUALITY" "$file"
}

# ---------------------------------------------------------------------------
# Picture 1: the keyboard. Digit row = middle octave, Shift + digits = high
# octave, bottom letter row = low octave.

KB_PITCH=62            # distance between neighbouring keys
KB_KEY=56              # key cap size
KB_X=90                # left edge of the key rows
KB_ROW_Y=(168 230 292 354)
KB_CASE_X=70
KB_CASE_Y=154
KB_CASE_Y1=424

KEY_FACE=#f7f7f7
KEY_EDGE=#8a8a8a
KEY_SHADOW=#c4c4c4
KEY_TEXT=#222222

RED=#e00000
FRAME_WIDTH=5
MIDDLE_GREEN=#008a00
HIGH_MAGENTA=#c800c8
LOW_DARKRED=#8b0000

# key X Y WIDTH LABEL [SHIFTED_LABEL]
key() {
    local x=$1 y=$2 w=$3 label=$4 shifted=${5:-}
    rect "$x" $(( y + 3 )) $(( x + w )) $(( y + KB_KEY + 3 )) "$KEY_SHADOW" none 1 8
    rect "$x" "$y" $(( x + w )) $(( y + KB_KEY )) "$KEY_FACE" "$KEY_EDGE" 1.5 8
    if [[ -n $shifted ]]; then
        text $(( x + 4 )) $(( y + 3 )) $(( w - 8 )) 24 19 "$KEY_TEXT" center "$FONT" "$shifted"
        text $(( x + 4 )) $(( y + 24 )) $(( w - 8 )) 30 27 "$KEY_TEXT" center "$FONT" "$label"
    elif (( ${#label} > 1 )); then
        text $(( x + 8 )) "$y" $(( w - 12 )) "$KB_KEY" 20 "$KEY_TEXT" west "$FONT" "$label"
    else
        text "$x" "$y" "$w" "$KB_KEY" 28 "$KEY_TEXT" center "$FONT" "$label"
    fi
}

# key_row ROW FIRST_KEY_WIDTH FIRST_LABEL KEY... ; a KEY is "label" or "label shifted"
# Sets ROW_X to the left edge of every key, for framing.
ROW_X=()
key_row() {
    local row=$1 first_w=$2 first_label=$3 x=$KB_X y entry label shifted
    y=${KB_ROW_Y[row]}
    shift 3
    ROW_X=()
    if (( first_w > 0 )); then
        key "$x" "$y" $(( first_w - (KB_PITCH - KB_KEY) )) "$first_label"
        ROW_X+=("$x")
        x=$(( x + first_w ))
    fi
    for entry in "$@"; do
        read -r label shifted <<< "$entry"
        key "$x" "$y" "$KB_KEY" "$label" "$shifted"
        ROW_X+=("$x")
        x=$(( x + KB_PITCH ))
    done
}

# frame X0 Y0 X1 Y1: a red frame around a group of keys.
frame() {
    rect $(( $1 - 6 )) $(( $2 - 6 )) $(( $3 + 6 )) $(( $4 + 9 )) none "$RED" "$FRAME_WIDTH" 12
}

draw_keyboard() {
    new_canvas 930 527

    local caption_y=26 caption_h=56
    local middle_label_y=100 middle_label_h=52
    local low_label_y=432 low_label_h=56
    local shift_arrow_x=46     # left of the keyboard, up to "按住"
    local digits_arrow_x=292   # under "1~7" of the caption
    local middle_label_x=330

    # The keyboard case runs off the right edge: only the left part is shown.
    rect "$KB_CASE_X" "$KB_CASE_Y" $(( CANVAS_W + 20 )) "$KB_CASE_Y1" "#e4e6e9" "#a9adb3" 2 18

    key_row 0 0 "" "\` ~" "1 !" "2 @" "3 #" "4 \$" "5 %" "6 ^" "7 &" "8 *" "9 (" "0 )" "- _" "= +"
    local digits_x0=${ROW_X[1]} digits_x1=$(( ROW_X[7] + KB_KEY ))
    key_row 1 $(( KB_PITCH * 3 / 2 )) "Tab" Q W E R T Y U I O P "[ {" "] }"
    key_row 2 $(( KB_PITCH * 7 / 4 )) "Caps Lock" A S D F G H J K L "; :" "' \""
    key_row 3 $(( KB_PITCH * 9 / 4 )) "Shift" Z X C V B N M ", <" ". >" "/ ?"
    local shift_x0=$KB_X shift_x1=$(( KB_X + KB_PITCH * 9 / 4 - (KB_PITCH - KB_KEY) ))
    local low_x0=${ROW_X[1]} low_x1=$(( ROW_X[7] + KB_KEY ))

    local row0_y=${KB_ROW_Y[0]} row3_y=${KB_ROW_Y[3]}

    # Middle octave: the digits 1 to 7. The label keeps clear of the arrow
    # that runs from these keys up to the "1~7" of the caption.
    frame "$digits_x0" "$row0_y" "$digits_x1" $(( row0_y + KB_KEY ))
    text "$middle_label_x" "$middle_label_y" $(( digits_x1 - middle_label_x )) "$middle_label_h" \
        44 "$MIDDLE_GREEN" center "$FONT" "中音区" 1.5

    # High octave: Shift together with the digits.
    frame "$shift_x0" "$row3_y" "$shift_x1" $(( row3_y + KB_KEY ))
    polyline "$RED" 5 "$(( shift_x0 - 8 )),$(( row3_y + KB_KEY / 2 ))" \
        "$shift_arrow_x,$(( row3_y + KB_KEY / 2 ))"
    arrow_up "$shift_arrow_x" $(( row3_y + KB_KEY / 2 + 2 )) $(( caption_y + caption_h + 4 )) "$RED" 5
    arrow_up "$digits_arrow_x" $(( row0_y - 10 )) $(( caption_y + caption_h + 4 )) "$RED" 5
    text 20 "$caption_y" 700 "$caption_h" 44 "$HIGH_MAGENTA" west "$FONT" \
        "按住 Shift + 1~7 = 高音区" 1.5

    # Low octave: the bottom letter row Z to M.
    frame "$low_x0" "$row3_y" "$low_x1" $(( row3_y + KB_KEY ))
    text "$low_x0" "$low_label_y" $(( low_x1 - low_x0 )) "$low_label_h" \
        44 "$LOW_DARKRED" center "$FONT" "低音区" 1.5

    write_jpeg "$OUT_DIR/help-keyboard.jpg"
}

# ---------------------------------------------------------------------------
# Picture 2: a browser showing a song in numbered notation, with the main
# window laid over the right-hand side of the page.

EX_W=1078
EX_H=752

BR_TITLE_H=40          # browser tab strip
BR_TOOLBAR_Y1=88       # bottom of the address bar strip; the page starts here
SITE_BAR_Y1=126        # bottom of the site's blue heading bar
SONG_NAME="小星星"
SONG_URL="http://music.example/《小星星》简谱"

# The song: six lines of two bars. Each line is eight beats (digit or "-"),
# the octave of its notes (-1 low, 0 middle, 1 high) and its words.
SONG_NOTES=("1 1 5 5 6 6 5 -" "4 4 3 3 2 2 1 -" "5 5 4 4 3 3 2 -"
            "5 5 4 4 3 3 2 -" "1 1 5 5 6 6 5 -" "4 4 3 3 2 2 1 -")
SONG_OCTAVE=(-1 -1 0 0 1 1)
SONG_WORDS=("一闪一闪亮晶晶" "满天都是小星星" "挂在天上放光明"
            "好像许多小眼睛" "一闪一闪亮晶晶" "满天都是小星星")

SCORE_X=28             # left edge of the first beat
BEAT_W=36
BAR_GAP=24             # extra room around each bar line
SCORE_TOP=226          # top of the first line
LINE_H=87
NOTE_SIZE=36
WORD_SIZE=23
OCTAVE_DOT_R=4
OCTAVE_DOT_DY=20       # from the digit's centre to its octave dot
PAGE_TEXT=#1a1a1a

# The main window. Its controls are placed from the window's layout at the
# scale WIN_SCALE (per mille); the texts are drawn larger than they would be
# at that scale so that they stay readable when the picture is shrunk.
WIN_X=378
WIN_Y=140
WIN_SCALE=800
WIN_FRAME=4
WIN_TITLE_H=34
WIN_MENU_H=30
WIN_CLIENT_W=856
WIN_CLIENT_H=488
WIN_W=$(( WIN_CLIENT_W * WIN_SCALE / 1000 + 2 * WIN_FRAME ))
WIN_H=$(( WIN_CLIENT_H * WIN_SCALE / 1000 + 2 * WIN_FRAME + WIN_TITLE_H + WIN_MENU_H ))
CLIENT_X=$(( WIN_X + WIN_FRAME ))
CLIENT_Y=$(( WIN_Y + WIN_FRAME + WIN_TITLE_H + WIN_MENU_H ))
WIN_TITLE="Morvane   by:Lestrio     支持手动曲谱转换，自动演奏器曲谱转换。"
BUTTON_FACE=#f0f0f0
EDGE_DARK=#8c8c8c
ROW_TEXT=21            # text size of the bottom row of the window

# What the user typed (copied from the song) and what 转换 made of it.
TYPED_SCORE=("z z b b | n n b - | v v c c | x x z - |"
             "5 5 4 4 | 3 3 2 - | 5 5 4 4 | 3 3 2 - |"
             "! ! % % | ^ ^ % - | \$ \$ # # | @ @ ! - |")
MANUAL_SCORE=("A A G G | H H G - | F F D D | S S A - |"
              "T T R R | E E W - | T T R R | E E W - |"
              "1 1 5 5 | 6 6 5 - | 4 4 3 3 | 2 2 1 - |")
MANUAL_MAGENTA=#d000d0
MANUAL_GREY=#cfcfcf

# Window coordinates (layout units) to picture coordinates.
wx() { echo $(( CLIENT_X + $1 * WIN_SCALE / 1000 )); }
wy() { echo $(( CLIENT_Y + $1 * WIN_SCALE / 1000 )); }
# Tab page coordinates: the page's controls sit on the tab control at 2,-2.
px() { wx $(( $1 + 2 )); }
py() { wy $(( $1 - 2 )); }

draw_browser() {
    # Tab strip with one tab, and the window buttons.
    rect 0 0 "$EX_W" "$BR_TITLE_H" "#dee1e6"
    rect 12 8 360 $(( BR_TITLE_H + 8 )) "#ffffff" none 1 10
    rect 26 16 44 34 "#3a7bd5" none 1 3
    text 54 8 300 32 18 "#202124" west "$FONT" "《小星星》简谱 - 儿歌简谱网"
    local bx=$(( EX_W - 150 ))
    line $(( bx + 14 )) 21 $(( bx + 30 )) 21 "#3c4043" 2
    rect $(( bx + 64 )) 13 $(( bx + 78 )) 27 none "#3c4043" 2
    line $(( bx + 114 )) 13 $(( bx + 128 )) 27 "#3c4043" 2
    line $(( bx + 128 )) 13 $(( bx + 114 )) 27 "#3c4043" 2

    # Address bar strip: back, forward, reload, address.
    rect 0 "$BR_TITLE_H" "$EX_W" "$BR_TOOLBAR_Y1" "#ffffff"
    line 0 "$BR_TOOLBAR_Y1" "$EX_W" "$BR_TOOLBAR_Y1" "#c4c7cc" 1
    local my=$(( (BR_TITLE_H + BR_TOOLBAR_Y1) / 2 ))
    polyline "#5f6368" 2.5 "30,$(( my - 8 ))" "22,$my" "30,$(( my + 8 ))"
    line 22 "$my" 40 "$my" "#5f6368" 2.5
    polyline "#b0b3b8" 2.5 "70,$(( my - 8 ))" "78,$my" "70,$(( my + 8 ))"
    line 60 "$my" 78 "$my" "#b0b3b8" 2.5
    add -fill none -stroke "#5f6368" -strokewidth 2.5 \
        -draw "arc 100,$(( my - 9 )) 118,$(( my + 9 )) 300,230"
    polygon "#5f6368" "112,$(( my - 13 ))" "121,$(( my - 9 ))" "113,$(( my - 3 ))"
    rect 140 $(( my - 16 )) $(( EX_W - 70 )) $(( my + 16 )) "#f1f3f4" "#dadce0" 1 16
    text 162 $(( my - 16 )) 700 32 19 "#202124" west "$FONT" "$SONG_URL"
    local i
    for i in 0 1 2; do
        dot $(( EX_W - 36 )) $(( my - 8 + i * 8 )) 2 "#5f6368"
    done

    # The site's heading bar.
    rect 0 "$BR_TOOLBAR_Y1" "$EX_W" "$SITE_BAR_Y1" "#2f6fbf"
    text 24 "$BR_TOOLBAR_Y1" 400 $(( SITE_BAR_Y1 - BR_TOOLBAR_Y1 )) 22 "#ffffff" west "$FONT" \
        "儿歌简谱网     首页   儿歌   练习曲" 0.6
}

# beat_x BEAT: the centre of a beat on its line.
beat_x() {
    local b=$1 x=$(( SCORE_X + $1 * BEAT_W + BEAT_W / 2 ))
    (( b >= 4 )) && x=$(( x + BAR_GAP ))
    echo "$x"
}

# score_line LINE: notes, octave dots, bar lines and words of one line.
score_line() {
    local n=$1 top=$(( SCORE_TOP + $1 * LINE_H ))
    local mid=$(( top + 30 )) word_y=$(( top + 61 ))
    local -a beats
    read -r -a beats <<< "${SONG_NOTES[$n]}"
    local octave=${SONG_OCTAVE[$n]} words=${SONG_WORDS[$n]} b x w=0
    for b in 0 1 2 3 4 5 6 7; do
        x=$(beat_x "$b")
        text $(( x - BEAT_W / 2 )) $(( mid - 21 )) "$BEAT_W" 42 "$NOTE_SIZE" "$PAGE_TEXT" center "$FONT" "${beats[$b]}"
        [[ ${beats[$b]} == - ]] && continue
        (( octave > 0 )) && dot "$x" $(( mid - OCTAVE_DOT_DY )) "$OCTAVE_DOT_R" "$PAGE_TEXT"
        (( octave < 0 )) && dot "$x" $(( mid + OCTAVE_DOT_DY )) "$OCTAVE_DOT_R" "$PAGE_TEXT"
        text $(( x - BEAT_W / 2 )) "$word_y" "$BEAT_W" 26 "$WORD_SIZE" "#333333" center "$FONT" "${words:$w:1}"
        w=$(( w + 1 ))
    done
    local bar1=$(( SCORE_X + 4 * BEAT_W + BAR_GAP / 2 ))
    local bar2=$(( SCORE_X + 8 * BEAT_W + BAR_GAP + BAR_GAP / 2 ))
    line "$bar1" $(( mid - 20 )) "$bar1" $(( mid + 20 )) "$PAGE_TEXT" 2
    if (( n == ${#SONG_NOTES[@]} - 1 )); then
        line $(( bar2 - 6 )) $(( mid - 20 )) $(( bar2 - 6 )) $(( mid + 20 )) "$PAGE_TEXT" 2
        rect $(( bar2 - 1 )) $(( mid - 20 )) $(( bar2 + 3 )) $(( mid + 20 )) "$PAGE_TEXT"
    else
        line "$bar2" $(( mid - 20 )) "$bar2" $(( mid + 20 )) "$PAGE_TEXT" 2
    fi
}

draw_song_page() {
    local col_x1=$(( SCORE_X + 8 * BEAT_W + 2 * BAR_GAP ))
    text 0 132 $(( col_x1 + SCORE_X )) 52 38 "$PAGE_TEXT" center "$FONT" "$SONG_NAME" 1
    text "$SCORE_X" 186 200 30 20 "#444444" west "$FONT" "1=C  4/4"
    text $(( col_x1 - 200 )) 186 200 30 20 "#444444" east "$FONT" "法国儿歌"
    local n
    for (( n = 0; n < ${#SONG_NOTES[@]}; n++ )); do
        score_line "$n"
    done

    # Notes on the page, below the window.
    local note_x=$(( WIN_X + 24 )) note_y=$(( WIN_Y + WIN_H + 22 ))
    text "$note_x" "$note_y" 500 28 20 "#555555" west "$FONT" "说明：数字上面加点是高音，下面加点是低音，"
    text "$note_x" $(( note_y + 32 )) 500 28 20 "#555555" west "$FONT" '“-” 表示前一个音延长一拍。'
}

# button X Y W H LABEL
button() {
    rect "$1" "$2" $(( $1 + $3 )) $(( $2 + $4 )) "#e1e1e1" "#adadad" 1 3
    text "$1" "$2" "$3" "$4" "$ROW_TEXT" "#000000" center "$FONT" "$5"
}

draw_window_frame() {
    local x1=$(( WIN_X + WIN_W )) y1=$(( WIN_Y + WIN_H ))
    shadow "$WIN_X" "$WIN_Y" "$x1" "$y1"
    rect "$WIN_X" "$WIN_Y" "$x1" "$y1" "#bfd0e6" "#5a6f8c" 1

    # Title bar: icon, title, minimise and close boxes.
    local ty=$(( WIN_Y + WIN_FRAME )) ix=$(( WIN_X + 10 ))
    rect "$ix" $(( ty + 7 )) $(( ix + 20 )) $(( ty + 27 )) "#f4f1ea" "#2b2d42" 1.5 4
    dot $(( ix + 8 )) $(( ty + 21 )) 3 "#8e24aa"
    rect $(( ix + 10 )) $(( ty + 10 )) $(( ix + 11 )) $(( ty + 21 )) "#8e24aa"
    polygon "#8e24aa" "$(( ix + 10 )),$(( ty + 10 ))" "$(( ix + 16 )),$(( ty + 15 ))" "$(( ix + 10 )),$(( ty + 14 ))"
    text $(( ix + 30 )) "$ty" $(( WIN_W - 140 )) "$WIN_TITLE_H" 19 "#000000" west "$FONT" "$WIN_TITLE"
    local cx=$(( x1 - WIN_FRAME - 48 ))
    rect "$cx" $(( ty + 2 )) $(( cx + 44 )) $(( ty + WIN_TITLE_H - 6 )) "#c75050" "#8f2f2f" 1 3
    line $(( cx + 16 )) $(( ty + 9 )) $(( cx + 28 )) $(( ty + 21 )) "#ffffff" 2.5
    line $(( cx + 28 )) $(( ty + 9 )) $(( cx + 16 )) $(( ty + 21 )) "#ffffff" 2.5
    rect $(( cx - 34 )) $(( ty + 2 )) $(( cx - 2 )) $(( ty + WIN_TITLE_H - 6 )) "#d6e2f0" "#8ba0bd" 1 3
    line $(( cx - 25 )) $(( ty + 20 )) $(( cx - 11 )) $(( ty + 20 )) "#1e1e1e" 3

    # Menu bar.
    local my=$(( ty + WIN_TITLE_H ))
    rect $(( WIN_X + WIN_FRAME )) "$my" $(( x1 - WIN_FRAME )) $(( my + WIN_MENU_H )) "#f5f6f7"
    local item x=$(( WIN_X + WIN_FRAME + 8 ))
    for item in 文件 导入 帮助 关于; do
        text "$x" "$my" 56 "$WIN_MENU_H" 22 "#000000" center "$FONT" "$item"
        x=$(( x + 62 ))
    done

    # Client area in the button-face colour.
    rect "$CLIENT_X" "$CLIENT_Y" $(( x1 - WIN_FRAME )) $(( y1 - WIN_FRAME )) "$BUTTON_FACE"
}

# edit_box X Y W H (layout units on the tab page) FILL TEXT_FONT SIZE COLOUR LINE_H LINES...
edit_box() {
    local x0 y0 x1 y1 fill=$5 font=$6 size=$7 colour=$8 line_h=$9 i=0 l
    x0=$(px "$1"); y0=$(py "$2"); x1=$(px $(( $1 + $3 ))); y1=$(py $(( $2 + $4 )))
    shift 9
    rect "$x0" "$y0" "$x1" "$y1" "$fill" "#7a7a7a" 1
    # Vertical scroll bar.
    rect $(( x1 - 16 )) $(( y0 + 1 )) $(( x1 - 1 )) $(( y1 - 1 )) "#ececec" "#d0d0d0" 1
    for l in "$@"; do
        text $(( x0 + 8 )) $(( y0 + 6 + i * line_h )) $(( x1 - x0 - 30 )) "$line_h" \
            "$size" "$colour" west "$font" "$l"
        i=$(( i + 1 ))
    done
}

draw_window_page() {
    local tab_top tab_h=28 page_x0 page_x1 page_y1
    tab_top=$(wy -2); page_x0=$(wx 2); page_x1=$(wx 850); page_y1=$(wy 486)

    # Tab control: the page frame, then the two tabs, the first one current.
    rect "$page_x0" $(( tab_top + tab_h )) "$page_x1" "$page_y1" "$BUTTON_FACE" "$EDGE_DARK" 1
    rect $(( page_x0 + 140 )) $(( tab_top + 3 )) $(( page_x0 + 278 )) $(( tab_top + tab_h )) "#e3e3e3" "$EDGE_DARK" 1
    text $(( page_x0 + 140 )) $(( tab_top + 3 )) 138 $(( tab_h - 3 )) 19 "#000000" center "$FONT" "自动曲谱转换"
    rect "$page_x0" "$tab_top" $(( page_x0 + 140 )) $(( tab_top + tab_h + 1 )) "$BUTTON_FACE" "$EDGE_DARK" 1
    line $(( page_x0 + 1 )) $(( tab_top + tab_h )) $(( page_x0 + 139 )) $(( tab_top + tab_h )) "$BUTTON_FACE" 2
    text "$page_x0" "$tab_top" 140 "$tab_h" 20 "#000000" center "$FONT" "手动曲谱转换"

    # The numbered score and its caption.
    text "$(px 358)" "$(py 16)" 90 "$(( $(py 43) - $(py 16) ))" 19 "#000000" west "$FONT" "自动数谱"
    edit_box 8 43 832 183 "#ffffff" "$MONO" 24 "#000000" 34 "${TYPED_SCORE[@]}"

    # The manual score.
    text "$(px 358)" "$(py 222)" 90 "$(( $(py 242) - $(py 222) ))" 19 "#000000" west "$FONT" "手动曲谱"
    edit_box 8 242 832 200 "$MANUAL_GREY" "$MONO_BOLD" 26 "$MANUAL_MAGENTA" 38 "${MANUAL_SCORE[@]}"

    # Bottom row: name, buttons, version. Wider than the layout's own sizes
    # because of the larger text.
    local row_y row_h=30 x
    row_y=$(( $(py 442) + 4 ))
    x=$(px 8)
    text "$x" "$row_y" 150 "$row_h" "$ROW_TEXT" "#000000" west "$FONT" "请输入曲谱名称"
    x=$(( x + 152 ))
    rect "$x" "$row_y" $(( x + 120 )) $(( row_y + row_h )) "#ffffff" "#7a7a7a" 1
    line $(( x + 1 )) $(( row_y + 1 )) $(( x + 119 )) $(( row_y + 1 )) "#a0a0a0" 1
    text $(( x + 6 )) "$row_y" 112 "$row_h" "$ROW_TEXT" "#000000" west "$FONT" "$SONG_NAME"
    x=$(( x + 128 ))
    button "$x" "$row_y" 58 "$row_h" "转换"
    x=$(( x + 66 ))
    button "$x" "$row_y" 100 "$row_h" "保存曲谱"
    button "$(px 584)" "$row_y" 100 "$row_h" "导入数谱"
    text "$(wx 720)" "$row_y" 100 "$row_h" "$ROW_TEXT" "#000000" west "$FONT" "版本号：4"
}

# The screenshot keeps its proportions: it is scaled to the drawn window's width.
draw_window_screenshot() {
    local w h
    read -r w h < <(identify -format '%w %h\n' "${SHOT}[0]")
    h=$(( h * WIN_W / w ))
    shadow "$WIN_X" "$WIN_Y" $(( WIN_X + WIN_W )) $(( WIN_Y + h ))
    add \( "${SHOT}[0]" -resize "${WIN_W}x${h}!" \) -geometry "+${WIN_X}+${WIN_Y}" -composite
}

draw_example() {
    new_canvas "$EX_W" "$EX_H"
    draw_browser
    draw_song_page
    if [[ -n $SHOT ]]; then
        draw_window_screenshot
    else
        draw_window_frame
        draw_window_page
    fi
    write_jpeg "$OUT_DIR/help-example.jpg"
}

draw_keyboard
draw_example
