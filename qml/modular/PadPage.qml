import QtQuick 2.15
import "../BaseControl"
import "../component"
import "../component/ColorLevels.js" as ColorLevels

// The 16 pads of one bank. Tiles fill the grid row by row from the top, but
// pad numbers run from the bottom row up.
Grid {
    id: grid

    property int pageNum: 0

    signal colorRequested(int pad, var swatch, color current)

    function tranformationIndex(index) {
        switch (parseInt(index / 4)) {
        case 0:
            return index + 12 + pageNum * 16
        case 1:
            return index + 4 + pageNum * 16
        case 2:
            return index - 4 + pageNum * 16
        default:
            return index - 12 + pageNum * 16
        }
    }

    // The tile at a grid position.
    function tile(index) {
        return repeater.itemAt(index).children[0]
    }

    // Lights the tile of a pad of this bank, by its number over all banks.
    function showHit(pad) {
        for (var i = 0; i < 16; ++i) {
            if (tranformationIndex(i) === pad)
                Hits.flash(tile(i))
        }
    }

    function padLabel(index) {
        return "PAD" + (tranformationIndex(index) + 1 - pageNum * 16)
    }

    columns: 4
    columnSpacing: -2
    rowSpacing: 8

    Repeater {
        id: repeater
        model: 16

        Column {
            spacing: -5

            PadKey {
                id: padkey

                onColorRequested: function (swatch, current) { grid.colorRequested(realIndex, swatch, current) }

                property int itemIndex: index

                differs: Session.differingPads.indexOf(realIndex) >= 0

                function load() {
                    var info = DataMgt.getPadInfo(realIndex)
                    tabBar.currentIndex = info.padtype
                    input.textInput.text = info.padData
                    cbxCH.currentIndex = info.padCh - 1
                    btnState.checked = info.padMode
                    colorRect.color = ColorLevels.color(info.padR, info.padG, info.padB)
                }

                Component.onCompleted: {
                    uiLogic()
                    realIndex = grid.tranformationIndex(itemIndex)
                    load()
                    ready = true
                }

                Connections {
                    target: DataMgt
                    function onS_updateDate() { padkey.load() }
                }
            }

            BasicText {
                x: 8
                text: grid.padLabel(index)
                enableColor: CusConfig.colorTextSecondary
            }
        }
    }
}
