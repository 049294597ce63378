import QtQuick 2.15

// The artwork is drawn at twice its display size; show it at half its pixels
// so it is 1:1 on a normal screen and still sharp when scaled up.
Image {
    width: sourceSize.width / 2
    height: sourceSize.height / 2
}
