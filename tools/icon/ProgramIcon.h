// The program's icon for the desktop's menus and launchers: an ink boat on water over warm
// paper, with a red seal, drawn with QPainter at each size of the desktop's icon theme.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace icon {

// The icon at size × size pixels, transparent around its rounded square.
QImage drawProgramIcon(int size);

// Writes folder/NxN/apps/<name>.png for every size, each file replaced whole.
// Returns an empty text on success, otherwise what went wrong.
QString writeIconTheme(const QString& folder, const QString& name, const std::vector<int>& sizes);

} // namespace icon
