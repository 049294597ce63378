import QtQuick 2.15
import "../BaseControl"
import "../component/BQM"

// The four knobs of one bank, in a 2 x 2 grid filled row by row.
Item {
    id: page

    property int pageNum: 0

    function realIndex(index) {
        return index + pageNum * 4
    }

    // The knob panel at a grid place.
    function knob(index) {
        return repeater.itemAt(index).children[1]
    }

    // Lights a knob of this bank, by its number over all banks.
    function showHit(index) {
        Hits.flash(knob(index - pageNum * 4))
    }

    implicitWidth: knobs.width
    implicitHeight: knobs.y + knobs.height

    // Its gap below the bank tabs is its own: a swipe view places and sizes
    // its pages as it likes (Qt 5's puts them at the top of the view).
    Grid {
        id: knobs

        y: 12
        columns: 2
        columnSpacing: 4
        rowSpacing: 9

        Repeater {
            id: repeater
            model: 4

            Column {
                spacing: 3

                CusImage {
                    x: 52
                    source: "qrc:/img/knob_switch@2x.png"
                    Accessible.ignored: true
                }

                BQM {
                    id: bqmkey

                    property int itemIndex: index

                    knobIndex: page.realIndex(itemIndex)
                    differs: Session.differingKnobs.indexOf(knobIndex) >= 0
                }
            }
        }
    }
}
