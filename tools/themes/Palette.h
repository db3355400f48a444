// One palette for the pictures the program carries (the theme pictures and the desktop icon):
// ink blues for strips and lines, warm paper for surfaces, a seal's red.
#pragma once

#include <QColor>

namespace themes {

inline const QColor kInk(38, 62, 98);
inline const QColor kBlueDeep(60, 100, 150);
inline const QColor kBlue(86, 122, 170);
inline const QColor kBlueSoft(112, 148, 194);  // also the album grid's fixed-area colour
inline const QColor kBluePale(198, 211, 239);
inline const QColor kPanel(239, 235, 222);
inline const QColor kPaper(251, 248, 240);
inline const QColor kPaperDeep(238, 231, 213);
inline const QColor kEdge(196, 186, 160);
inline const QColor kMuted(120, 108, 88);
inline const QColor kSeal(176, 64, 52);

} // namespace themes
