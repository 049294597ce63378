#!/usr/bin/env bash
# Renders the artwork in src/ to the PNG files the pages load, and writes
# img.qrc. Run after changing an SVG; the PNGs are committed.
#   NAME@2x.png        drawn at twice the display size (pages show it at half)
#   NAME.png + @2x     display size, and a double-size variant Qt picks on
#                      high-density screens
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

double=(logoText titleBtn bankCheckedPurple tabGray tabCheckedGray
        tabSmallGray tabSmallCheckedGray knob_switch icon_previous icon_stop
        icon_next icon_record icon_start icon_recurrsive functionGroupRect)
pairs=(icon_close_default icon_close_click icon_minimize_default
       icon_minimize_click progress helpLogo)

render() { rsvg-convert --zoom "$2" -o "$3" "src/$1.svg"; }

for n in "${double[@]}"; do render "$n" 2 "$n@2x.png"; done
for n in "${pairs[@]}"; do
    render "$n" 1 "$n.png"
    render "$n" 2 "$n@2x.png"
done
render mark 0.5 logo.png
render mark 1 logo@2x.png
# The QR pictures of the About box are not here: the build draws them from
# the addresses in app/WebLinks.cpp (QrCodes.cmake).
# Shown through CusImage, which draws every image at half its pixel size.
render line 2 line.png

{
    echo '<RCC>'
    echo '    <qresource prefix="/img">'
    printf '%s\n' ./*.png | LC_ALL=C sort | while read -r f; do echo "        <file>${f#./}</file>"; done
    echo '    </qresource>'
    echo '</RCC>'
} > img.qrc
