// The program's own pictures, drawn in code so that they scale to any size: the program
// icon, the picture of the About dialog and the glyph of its close button.
#pragma once

#include <QImage>

namespace drawings {

// The program icon: two coordinate frames, the second turned and shifted against the
// first, with a triangle of control points; on a teal tile with rounded corners.
QImage ProgramIcon(int size);

// The About dialog's picture: the icon's drawing without the tile, for a teal panel.
QImage AboutPicture(int size);

// The close button's glyph: an open door.
QImage CloseGlyph(int size);

}  // namespace drawings
