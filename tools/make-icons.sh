#!/bin/sh
# Renders the icon sources under resources/svg/ (and the application icon
# resources/kora.svg) to the PNG files the resource file kora.qrc names.
# Several resource names end in .ico for historical reasons; they hold PNG
# data, which Qt's image reader recognises by content.
#
# Needs rsvg-convert (Debian: librsvg2-bin). Run from anywhere; the PNG files
# are committed, so a build does not need this script.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
res="$here/resources"
svg="$res/svg"
size=48

command -v rsvg-convert >/dev/null 2>&1 || {
    echo "rsvg-convert not found (apt-get install librsvg2-bin)" >&2
    exit 1
}

render() { # source.svg target [size]
    mkdir -p "$(dirname "$2")"
    rsvg-convert -w "${3:-$size}" -h "${3:-$size}" -f png -o "$2" "$1"
}

# source            resource path under resources/
while read -r src dst; do
    [ -n "$src" ] || continue
    render "$svg/$src.svg" "$res/$dst"
done <<'MAP'
pencil          res/Pencil.ico
line            res/Line.png
measure         res/Measure.png
anglemeasure    res/AngleMeasure.ico
lithology       res/Lithologymark.png
arrow           res/Arrow.ico
angle           res/Angle.ico
dip             res/Dipangle.ico
curve           res/Curve.ico
ruler           res/Ruler.png
text            res/text.png
irregular       res/buguize.ico
gridlines       res/GridLines.png
structurepick   res/StructurePick.png
roll            res/roll.png
delete          res/delete.png
projectinfo     res/projectInfo.png
correction      res/correction.ico
show3d          res/3D.ico
addfolder       res/Add_folder.png
open            res/open.ico
saveimage       res/Save_image.png
report          res/report.png
close           res/close.png
about           res/about.png
displaysetting  res/DisplaySetting.png
structures      res/structures.png
3dup            res/3Dup.ico
3ddown          res/3Ddown.ico
3dleft          res/3Dleft.ico
3dright         res/3Dright.ico
3dhor           res/3Dhor.ico
3dver           res/3Dver.ico
enlarge         res/Enlarge.ico
decrease        res/Decrease.ico
btn_close       image/close.png
btn_update      image/update.png
msg_info        MsgImage/QUtility/MessageBox/info.png
msg_question    MsgImage/QUtility/MessageBox/question.png
msg_error       MsgImage/QUtility/MessageBox/error.png
MAP

# Application icon: 64 px for the resource file and the hicolor theme.
render "$res/kora.svg" "$res/kora.png" 64
