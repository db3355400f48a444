#include "SkinPictures.h"

#include "Painting.h"

#include <array>

namespace skingen {

namespace {

enum Style { WinXP, DeepBlue, MacOS, Protein, BlueGlass, kStyleCount };

// Sizes of one element in the five styles, in the order of the Style enumeration; an empty
// size means the style has no such picture.
using Sizes = std::array<QSize, kStyleCount>;

// The colours and shapes that make one style's pictures belong together.
struct Look {
    QString prefix;
    QColor form;                     // the window colour the pictures sit on
    QColor outline;                  // button and box outlines
    QColor faceTop, faceBottom;      // button face
    QColor hotRim;                   // mouse-on rim
    QColor pressedTop, pressedBottom;
    QColor accent;                   // selection, progress, slider
    QColor tick;                     // check marks
    QColor titleTop, titleBottom;    // title bar gradient
    QColor titleHighlight;           // the light line under the top edge of the title bar
    QColor titleButton, closeButton; // title button faces
    QColor symbol;                   // title button symbols
    qreal radius;                    // button corner radius
    bool keyedButtons;               // buttons drawn transparently, magenta outside the shape
    bool keyedTitleButtons;
    bool roundTitleButtons;
};

Look lookOf(Style style)
{
    switch (style) {
    case WinXP:
        return {"WINXP", {239, 235, 222}, {0, 60, 116}, {250, 250, 246}, {236, 236, 230}, {255, 204, 102},
                {229, 227, 220}, {226, 223, 214}, {49, 106, 197}, {33, 161, 33}, {0, 90, 228}, {0, 70, 214},
                {7, 116, 254}, {34, 99, 238}, {224, 84, 36}, {255, 255, 255}, 3, false, false, false};
    case DeepBlue:
        return {"DEEPBLUE", {232, 232, 232}, {36, 42, 112}, {246, 247, 252}, {206, 210, 232}, {120, 128, 214},
                {178, 184, 222}, {210, 214, 238}, {68, 74, 160}, {36, 42, 112}, {54, 62, 150}, {22, 28, 86},
                {92, 102, 190}, {60, 70, 160}, {178, 40, 48}, {255, 255, 255}, 2, false, false, false};
    case MacOS:
        return {"MACOS", {231, 231, 231}, {104, 104, 104}, {255, 255, 255}, {214, 214, 214}, {120, 170, 232},
                {94, 150, 226}, {40, 104, 206}, {57, 115, 196}, {30, 30, 30}, {238, 238, 238}, {196, 196, 196},
                {255, 255, 255}, {150, 150, 162}, {222, 78, 66}, {60, 60, 60}, 10, true, false, true};
    case Protein:
        return {"PROTEIN", {251, 251, 251}, {96, 98, 120}, {255, 255, 255}, {222, 224, 234}, {110, 114, 226},
                {204, 206, 222}, {232, 234, 242}, {45, 48, 196}, {45, 48, 196}, {84, 88, 176}, {38, 40, 128},
                {140, 146, 220}, {66, 70, 170}, {200, 52, 60}, {255, 255, 255}, 4, false, true, false};
    case BlueGlass:
    case kStyleCount:
        break;
    }
    return {"BLUEGLASS", {231, 231, 231}, {44, 44, 128}, {232, 236, 255}, {150, 158, 240}, {200, 210, 255},
            {110, 116, 214}, {160, 168, 244}, {94, 94, 236}, {40, 40, 150}, {120, 130, 248}, {46, 50, 176},
            {196, 204, 255}, {76, 84, 220}, {214, 60, 70}, {255, 255, 255}, 6, true, true, true};
}

// ---- push buttons, check boxes, radio buttons ----------------------------------------------

QImage buttonStrip(const Look& look, QSize frame)
{
    const Backdrop backdrop = look.keyedButtons ? Backdrop::key() : Backdrop::of(look.form);
    return strip(3, frame, backdrop, [&](QPainter& p, const QRectF& r, int state) {
        const QRectF shape = r.adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = qMin(look.radius, shape.height() / 2);
        const bool pressed = state == 2;
        p.setPen(QPen(look.outline, 1));
        p.setBrush(vertical(shape, pressed ? look.pressedTop : look.faceTop,
                            pressed ? look.pressedBottom : look.faceBottom));
        p.drawPath(roundedRect(shape, radius));
        if (!pressed) {  // a soft gloss on the upper half, ending above the centre row
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 70));
            p.drawPath(roundedRect(shape.adjusted(1.5, 1.5, -1.5, -shape.height() / 2 - 1.5), qMax(radius - 1, 0.0)));
        }
        if (state == 1) {  // mouse on: a warm inner rim
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(look.hotRim, 2));
            p.drawPath(roundedRect(shape.adjusted(1.5, 1.5, -1.5, -1.5), qMax(radius - 1, 0.0)));
        }
    });
}

// Frames: checked, unchecked, checked disabled, unchecked disabled.
QImage checkStrip(const Look& look, QSize frame, bool round)
{
    return strip(4, frame, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r, int index) {
        const bool checked = index % 2 == 0;
        const bool disabled = index >= 2;
        const qreal side = qMin(r.width(), r.height()) - (frame.height() > 13 ? 2 : 0);
        const QRectF box(QPointF(r.center().x() - side / 2, r.center().y() - side / 2), QSizeF(side, side));
        const QRectF shape = box.adjusted(0.5, 0.5, -0.5, -0.5);
        const QColor outline = disabled ? QColor(190, 188, 178) : look.outline;
        const QColor top = disabled ? QColor(244, 243, 238) : shade(look.faceBottom, -4);
        p.setPen(QPen(outline, 1));
        p.setBrush(vertical(shape, top, disabled ? QColor(244, 243, 238) : QColor(255, 255, 255)));
        if (round)
            p.drawEllipse(shape);
        else
            p.drawPath(roundedRect(shape, look.radius >= 6 ? 3 : 0.5));
        if (!checked)
            return;
        const QColor mark = disabled ? QColor(172, 168, 153) : look.tick;
        if (round) {
            p.setPen(Qt::NoPen);
            p.setBrush(mark);
            p.drawEllipse(box.center(), side * 0.2, side * 0.2);
        } else {
            drawTick(p, box.adjusted(1, 1, -1, -1), mark, side >= 13 ? 2.2 : 1.8);
        }
    });
}

// ---- title bar --------------------------------------------------------------------------------

void paintTitleBackground(QPainter& p, const QRectF& r, const Look& look)
{
    p.fillRect(r, vertical(r, look.titleTop, look.titleBottom));
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0, look.titleTop);
    sheen.setColorAt(0.08, look.titleHighlight);
    sheen.setColorAt(0.45, mix(look.titleHighlight, look.titleBottom, 0.55));
    sheen.setColorAt(1, look.titleBottom);
    p.fillRect(r, sheen);
}

QImage titleBackground(const Look& look, QSize size)
{
    return single(size, Backdrop::of(look.titleBottom), [&](QPainter& p, const QRectF& r) {
        paintTitleBackground(p, r, look);
    });
}

// Kinds in strip order: control box, help, maximise, restore, minimise, close.
void drawTitleSymbol(QPainter& p, const QRectF& r, int kind, const QColor& color)
{
    const qreal s = r.width();
    const QRectF inner = r.adjusted(s * 0.28, s * 0.28, -s * 0.28, -s * 0.28);
    const qreal pen = s >= 19 ? 2 : 1.6;
    p.setBrush(Qt::NoBrush);
    switch (kind) {
    case 0: drawArrow(p, inner.adjusted(0, s * 0.06, 0, s * 0.06), Qt::DownArrow, color); break;
    case 1: {
        QPainterPath hook;
        hook.moveTo(inner.left() + inner.width() * 0.15, inner.top() + inner.height() * 0.28);
        hook.cubicTo(inner.left() + inner.width() * 0.15, inner.top() - inner.height() * 0.05,
                     inner.right() - inner.width() * 0.05, inner.top() - inner.height() * 0.05,
                     inner.right() - inner.width() * 0.1, inner.top() + inner.height() * 0.3);
        hook.cubicTo(inner.right() - inner.width() * 0.15, inner.top() + inner.height() * 0.5,
                     inner.center().x(), inner.top() + inner.height() * 0.45, inner.center().x(),
                     inner.top() + inner.height() * 0.72);
        p.setPen(QPen(color, pen, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRect(QRectF(inner.center().x() - pen / 2, inner.bottom() - pen, pen, pen));
        break;
    }
    case 2:
        p.setPen(QPen(color, 1));
        p.drawRect(inner.adjusted(0.5, 0.5, -0.5, -0.5));
        p.fillRect(QRectF(inner.left(), inner.top(), inner.width(), 2.5), color);
        break;
    case 3: {
        const qreal d = inner.width() * 0.3;
        const QRectF back = inner.adjusted(d, 0, 0, -d);
        const QRectF front = inner.adjusted(0, d, -d, 0);
        p.setPen(QPen(color, 1));
        p.drawRect(back.adjusted(0.5, 0.5, -0.5, -0.5));
        p.fillRect(QRectF(back.left(), back.top(), back.width(), 2), color);
        p.fillRect(front, p.brush());
        p.drawRect(front.adjusted(0.5, 0.5, -0.5, -0.5));
        p.fillRect(QRectF(front.left(), front.top(), front.width(), 2), color);
        break;
    }
    case 4: p.fillRect(QRectF(inner.left(), inner.bottom() - 2.5, inner.width() * 0.7, 2.5), color); break;
    default: drawCross(p, inner.adjusted(0.5, 0.5, -0.5, -0.5), color, pen); break;
    }
}

QImage titleButtonStrip(const Look& look, QSize frame, int titleHeight, int top)
{
    Backdrop backdrop = Backdrop::key();
    if (!look.keyedTitleButtons) {
        const QImage title = titleBackground(look, QSize(frame.width(), titleHeight));
        backdrop = Backdrop::behind(title.copy(0, top, frame.width(), frame.height()));
    }
    return strip(18, frame, backdrop, [&](QPainter& p, const QRectF& r, int index) {
        const int kind = index / 3;
        const int state = index % 3;
        QColor face = kind == 5 ? look.closeButton : look.titleButton;
        if (state == 1)
            face = shade(face, 22);
        else if (state == 2)
            face = shade(face, -22);
        const QRectF shape = r.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(look.roundTitleButtons ? shade(face, -35) : QColor(255, 255, 255), 1));
        p.setBrush(vertical(shape, shade(face, 25), face));
        if (look.roundTitleButtons)
            p.drawEllipse(shape.adjusted(0.5, 0.5, -0.5, -0.5));
        else
            p.drawPath(roundedRect(shape, 3));
        drawTitleSymbol(p, r, kind, look.symbol);
    });
}

// ---- the rest of the style elements ----------------------------------------------------------

QImage columnGradient(QSize size, const QColor& top, const QColor& middle, const QColor& bottom)
{
    return single(size, Backdrop::of(bottom), [&](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(0.45, middle);
        g.setColorAt(1, bottom);
        p.fillRect(r, g);
    });
}

QImage progress(const Look& look, QSize size)
{
    const QColor fill = look.prefix == "WINXP" ? QColor(49, 194, 49) : look.accent;
    return columnGradient(size, shade(fill, 55), fill, shade(fill, -12));
}

QImage trackBar(const Look& look, QSize size)
{
    return single(size, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r) {
        const QRectF groove = r.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(shade(look.outline, 30), 1));
        p.setBrush(vertical(groove, shade(look.form, -12), QColor(255, 255, 255)));
        p.drawPath(roundedRect(groove, qMin<qreal>(2, groove.height() / 2)));
    });
}

QImage trackSlider(const Look& look, QSize size, bool vertical)
{
    return single(size, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r) {
        QPolygonF pointer;
        const QRectF a = r.adjusted(0.5, 0.5, -0.5, -0.5);
        if (!vertical)
            pointer << a.topLeft() << a.topRight() << QPointF(a.right(), a.bottom() - a.width() / 2)
                    << QPointF(a.center().x(), a.bottom()) << QPointF(a.left(), a.bottom() - a.width() / 2);
        else
            pointer << a.topLeft() << QPointF(a.right() - a.height() / 2, a.top()) << QPointF(a.right(), a.center().y())
                    << QPointF(a.right() - a.height() / 2, a.bottom()) << a.bottomLeft();
        p.setPen(QPen(look.outline, 1));
        p.setBrush(skingen::vertical(a, look.faceTop, look.faceBottom));
        p.drawPolygon(pointer);
        p.setPen(QPen(look.accent, 1));
        if (!vertical)
            p.drawLine(QPointF(a.left() + 1.5, a.top() + 1.5), QPointF(a.right() - 1.5, a.top() + 1.5));
        else
            p.drawLine(QPointF(a.left() + 1.5, a.top() + 1.5), QPointF(a.left() + 1.5, a.bottom() - 1.5));
    });
}

void paintSmallButton(QPainter& p, const QRectF& r, const Look& look, int state)
{
    const QRectF shape = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top = look.faceTop, bottom = look.faceBottom;
    if (state == 1) {
        top = shade(look.hotRim, 70);
        bottom = shade(look.hotRim, 30);
    } else if (state == 2) {
        top = look.pressedBottom;
        bottom = look.pressedTop;
    }
    p.setPen(QPen(shade(look.outline, 25), 1));
    p.setBrush(vertical(shape, top, bottom));
    p.drawPath(roundedRect(shape, qMin<qreal>(2, look.radius)));
}

// Six frames: up normal, hot, pressed; down normal, hot, pressed.
QImage scrollBarButtons(const Look& look, QSize frame)
{
    return strip(6, frame, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r, int index) {
        paintSmallButton(p, r, look, index % 3);
        const qreal s = qMin(r.width(), r.height()) * 0.22;
        drawArrow(p, QRectF(r.center().x() - s, r.center().y() - s, 2 * s, 2 * s),
                  index < 3 ? Qt::UpArrow : Qt::DownArrow, look.outline);
    });
}

// Three frames: slider start, middle, end.
QImage scrollTrack(const Look& look, QSize frame)
{
    return strip(3, frame, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r, int index) {
        const QRectF body = r.adjusted(index == 0 ? 0 : -4, 0, index == 2 ? 0 : 4, 0);
        paintSmallButton(p, body, look, 0);
        if (index == 1) {
            p.setPen(QPen(shade(look.outline, 40), 1));
            for (qreal y = r.center().y() - 3; y <= r.center().y() + 3; y += 3)
                p.drawLine(QPointF(r.left() + 1, y + 0.5), QPointF(r.right() - 1, y + 0.5));
        }
    });
}

// Four frames: left, right, up and down arrows.
QImage arrowButtons(const Look& look, QSize frame)
{
    static const Qt::ArrowType arrows[] = {Qt::LeftArrow, Qt::RightArrow, Qt::UpArrow, Qt::DownArrow};
    return strip(4, frame, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r, int index) {
        paintSmallButton(p, r, look, 0);
        const qreal s = qMin(r.width(), r.height()) * 0.2;
        drawArrow(p, QRectF(r.center().x() - s, r.center().y() - s, 2 * s, 2 * s), arrows[index], look.outline);
    });
}

// Three frames: the tab's left edge, its middle and its right edge.
QImage tab(const Look& look, QSize size)
{
    const QSize frame(size.width() / 3, size.height());
    return strip(3, frame, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r, int index) {
        const QRectF body = r.adjusted(index == 0 ? 0.5 : -6, 0.5, index == 2 ? -0.5 : 6, 6);
        p.setPen(QPen(shade(look.outline, 20), 1));
        p.setBrush(vertical(body, QColor(255, 255, 255), look.form));
        p.drawPath(roundedRect(body, 3));
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 2), index == 1 ? look.hotRim : Qt::transparent);
    });
}

QImage tabLine(const Look& look, QSize size)
{
    return single(size, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r) {
        p.fillRect(r, vertical(r, shade(look.outline, 30), look.form));
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), shade(look.outline, 20));
    });
}

QImage sideHandle(const Look& look, QSize size)
{
    return single(size, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r) {
        const QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(shade(look.outline, 20), 1));
        QLinearGradient g(body.topLeft(), body.topRight());
        g.setColorAt(0, look.faceTop);
        g.setColorAt(1, look.faceBottom);
        p.setBrush(g);
        p.drawPath(roundedRect(body, 2));
        p.setPen(Qt::NoPen);
        p.setBrush(look.outline);
        for (int i = -2; i <= 2; ++i)
            p.drawEllipse(QPointF(r.center().x(), r.center().y() + 5 * i), 1.1, 1.1);
    });
}

QImage sideBar(const Look& look, QSize size)
{
    // The caption bar of panels: captions on it are black in WinXP and MacOS, white elsewhere.
    if (look.prefix == "WINXP")
        return columnGradient(size, QColor(227, 235, 252), QColor(198, 211, 239), QColor(160, 184, 232));
    if (look.prefix == "MACOS")
        return columnGradient(size, QColor(250, 250, 250), QColor(226, 226, 226), QColor(190, 190, 190));
    return columnGradient(size, shade(look.accent, 35), look.accent, shade(look.accent, -25));
}

QImage comboButton(const Look& look, QSize size)
{
    return single(size, Backdrop::of(QColor(255, 255, 255)), [&](QPainter& p, const QRectF& r) {
        paintSmallButton(p, r, look, 0);
        drawArrow(p, QRectF(r.center().x() - 3.5, r.center().y() - 3, 7, 7), Qt::DownArrow, look.outline);
    });
}

QImage formBackground(const Look& look, QSize size)
{
    return single(size, Backdrop::of(look.form), [&](QPainter& p, const QRectF& r) {
        for (int y = 0; y < int(r.height()); y += 2)  // fine pinstripes
            p.fillRect(QRectF(0, y, r.width(), 1), shade(look.form, look.prefix == "MACOS" ? 4 : -1));
    });
}

struct Element {
    const char* name;
    Sizes sizes;
    QImage (*draw)(const Look&, QSize);
};

QImage drawButton(const Look& l, QSize s) { return buttonStrip(l, QSize(s.width() / 3, s.height())); }
QImage drawCheckBox(const Look& l, QSize s) { return checkStrip(l, QSize(s.width() / 4, s.height()), false); }
QImage drawRadio(const Look& l, QSize s) { return checkStrip(l, QSize(s.width() / 4, s.height()), true); }
QImage drawTitleLeft(const Look& l, QSize s)
{
    QImage picture = titleBackground(l, s);
    QPainter p(&picture);
    p.fillRect(0, 1, 1, s.height() - 1, shade(l.titleHighlight, 30));  // lit left edge
    return picture;
}
QImage drawTitleRight(const Look& l, QSize s)
{
    QImage picture = titleBackground(l, s);
    if (s.width() > 1) {
        QPainter p(&picture);
        p.fillRect(s.width() - 1, 1, 1, s.height() - 1, shade(l.titleBottom, -25));  // shaded right edge
    }
    return picture;
}
QImage drawScrollBarButtons(const Look& l, QSize s) { return scrollBarButtons(l, QSize(s.width() / 6, s.height())); }
QImage drawScrollTrack(const Look& l, QSize s) { return scrollTrack(l, QSize(s.width() / 3, s.height())); }
QImage drawCheckList(const Look& l, QSize s) { return checkStrip(l, QSize(s.width() / 4, s.height()), false); }
QImage drawScrollButton(const Look& l, QSize s) { return arrowButtons(l, QSize(s.width() / 4, s.height())); }
QImage drawSlider(const Look& l, QSize s) { return trackSlider(l, s, false); }
QImage drawSliderV(const Look& l, QSize s) { return trackSlider(l, s, true); }

constexpr QSize no;

const Element kElements[] = {
    {"BUTTON", {{{54, 21}, {222, 21}, {252, 23}, {222, 21}, {231, 27}}}, drawButton},
    {"CHECKBOX", {{{52, 13}, {52, 13}, {60, 17}, {52, 13}, {52, 13}}}, drawCheckBox},
    {"RADIOBUTTON", {{{52, 13}, {52, 13}, {64, 17}, {52, 13}, {52, 13}}}, drawRadio},
    {"TITLE_LEFT", {{{35, 29}, {97, 32}, {48, 23}, {441, 23}, {162, 33}}}, drawTitleLeft},
    {"TITLE_CLIENT", {{{37, 29}, {98, 32}, {49, 23}, {1, 23}, {179, 33}}}, titleBackground},
    {"TITLE_RIGHT", {{{35, 29}, {97, 32}, {48, 23}, {1, 23}, {101, 33}}}, drawTitleRight},
    {"PROGRESSBAR", {{{6, 10}, {1, 10}, {13, 10}, {1, 10}, {1, 10}}}, progress},
    {"TRACKBAR_BAR", {{{45, 8}, {45, 4}, {45, 5}, {45, 4}, {45, 4}}}, trackBar},
    {"TRACKBAR_SLIDER", {{{11, 21}, {11, 20}, {11, 20}, {11, 20}, {11, 20}}}, drawSlider},
    {"TRACKBAR_SLIDER_V", {{{22, 11}, {18, 11}, {19, 11}, {18, 11}, {18, 11}}}, drawSliderV},
    {"SCROLLBAR_BUTTON", {{{96, 17}, {96, 16}, {96, 22}, {96, 16}, {102, 16}}}, drawScrollBarButtons},
    {"SCROLLBAR_TRACK", {{{21, 16}, {21, 16}, {33, 16}, {21, 16}, {21, 16}}}, drawScrollTrack},
    {"CHECKLIST", {{{44, 11}, {44, 11}, {40, 11}, {44, 11}, {44, 11}}}, drawCheckList},
    {"SCROLLBUTTON", {{{72, 18}, no, {72, 18}, no, no}}, drawScrollButton},
    {"TAB", {{{18, 18}, {12, 17}, {36, 27}, {18, 17}, {18, 17}}}, tab},
    {"TAB_LINE", {{{8, 1}, {5, 5}, {17, 7}, {10, 5}, {10, 5}}}, tabLine},
    {"SIDECHENNEL_HANDLE", {{{8, 86}, {8, 83}, {7, 84}, {8, 83}, {8, 86}}}, sideHandle},
    {"SIDECHENNEL_BAR", {{{1, 21}, {1, 20}, {1, 21}, {1, 21}, {1, 21}}}, sideBar},
    {"COMBOBOX_BUTTON", {{{16, 18}, no, {16, 17}, no, no}}, comboButton},
    {"FORM_BACKGROUND", {{no, no, {8, 8}, {8, 8}, no}}, formBackground},
};

// Title buttons: strip size, title height and top of the buttons in it.
struct TitleButtons {
    QSize size;
    int titleHeight;
    int top;
};
constexpr std::array<TitleButtons, kStyleCount> kTitleButtons{{
    {{378, 21}, 29, 5}, {{342, 19}, 32, 2}, {{306, 17}, 23, 4}, {{342, 19}, 23, 2}, {{342, 19}, 33, 6}}};

// ---- shared pictures ------------------------------------------------------------------------

QImage menuChecked()
{
    return single({16, 16}, Backdrop::of(Qt::white), [](QPainter& p, const QRectF& r) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        // A classic seven-pixel check mark, three pixels thick, crisp at 1:1.
        for (int i = 0; i < 7; ++i) {
            const int x = 4 + i;
            const int y = i < 2 ? 7 + i : 10 - (i - 1);
            p.fillRect(QRectF(r.left() + x, r.top() + y - 1, 1, 3), QColor(0, 0, 0));
        }
    });
}

QImage messageIcons()
{
    const QColor faces[] = {{240, 178, 24}, {204, 36, 36}, {34, 96, 206}, {44, 152, 58}};
    return strip(4, {42, 42}, Backdrop::of(QColor(239, 235, 222)), [&](QPainter& p, const QRectF& r, int kind) {
        const QRectF shape = r.adjusted(3.5, 3.5, -3.5, -3.5);
        p.setPen(QPen(shade(faces[kind], -30), 1));
        p.setBrush(vertical(shape, shade(faces[kind], 30), faces[kind]));
        p.drawPath(roundedRect(shape, 6));
        const QPointF c = r.center();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        switch (kind) {
        case 0:  // exclamation mark
            p.drawPath(roundedRect(QRectF(c.x() - 2.5, c.y() - 12, 5, 16), 2));
            p.drawEllipse(QPointF(c.x(), c.y() + 9), 3, 3);
            break;
        case 1: drawCross(p, QRectF(c.x() - 8, c.y() - 8, 16, 16), Qt::white, 4.5); break;
        case 2:  // "i"
            p.drawEllipse(QPointF(c.x(), c.y() - 10), 3, 3);
            p.drawPath(roundedRect(QRectF(c.x() - 2.5, c.y() - 4, 5, 16), 1.5));
            break;
        default: {
            QPainterPath hook;
            hook.moveTo(c.x() - 7, c.y() - 6);
            hook.cubicTo(c.x() - 7, c.y() - 15, c.x() + 8, c.y() - 15, c.x() + 7, c.y() - 6);
            hook.cubicTo(c.x() + 6, c.y() - 1, c.x(), c.y() - 1, c.x(), c.y() + 5);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::FlatCap));
            p.drawPath(hook);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(c.x(), c.y() + 11), 3, 3);
            break;
        }
        }
    });
}

// Four frames: expanded, expanded and hot, collapsed, collapsed and hot.
QImage panelButtons()
{
    return strip(4, {13, 12}, Backdrop::of(QColor(198, 211, 239)), [](QPainter& p, const QRectF& r, int index) {
        const bool hot = index % 2 == 1;
        const QRectF shape = r.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(QColor(49, 105, 198), 1));
        p.setBrush(hot ? QColor(255, 231, 162) : QColor(255, 255, 255));
        p.drawEllipse(shape);
        const QPointF c = r.center();
        const qreal d = index < 2 ? -1.5 : 1.5;  // chevron up while expanded, down while collapsed
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 60, 116), 1.4));
        p.drawPolyline(QPolygonF() << QPointF(c.x() - 3, c.y() - d) << QPointF(c.x(), c.y() + d)
                                   << QPointF(c.x() + 3, c.y() - d));
    });
}

QImage statusBarHandle()
{
    return single({11, 11}, Backdrop::key(), [](QPainter& p, const QRectF&) {
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int row = 0; row < 3; ++row)
            for (int col = 2 - row; col < 3; ++col) {
                const int x = 1 + col * 3, y = 1 + row * 3 + 1;
                p.fillRect(x + 1, y + 1, 2, 2, QColor(255, 255, 255));
                p.fillRect(x, y, 2, 2, QColor(128, 128, 128));
            }
    });
}

QImage trueTypeMarker()
{
    return single({20, 12}, Backdrop::of(Qt::white), [](QPainter& p, const QRectF&) {
        p.setRenderHint(QPainter::Antialiasing, false);
        auto letterT = [&](int x, int y, const QColor& c) {
            p.fillRect(x, y, 7, 2, c);
            p.fillRect(x + 2, y, 3, 9, c);
        };
        letterT(2, 0, QColor(128, 128, 128));
        letterT(7, 3, QColor(0, 0, 0));
    });
}

QImage deviceMarker()
{
    return single({20, 12}, Backdrop::of(Qt::white), [](QPainter& p, const QRectF&) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(5, 0, 8, 4, QColor(255, 255, 255));  // paper
        p.setPen(QColor(0, 0, 0));
        p.drawRect(5, 0, 7, 4);
        p.fillRect(2, 4, 15, 5, QColor(128, 128, 128));  // printer body
        p.drawRect(2, 4, 14, 5);
        p.fillRect(14, 6, 2, 1, QColor(0, 160, 0));
    });
}

} // namespace

std::vector<NamedPicture> allSkinPictures()
{
    std::vector<NamedPicture> pictures;
    for (int s = 0; s < kStyleCount; ++s) {
        const Look look = lookOf(Style(s));
        for (const Element& element : kElements) {
            const QSize size = element.sizes[size_t(s)];
            if (size.isEmpty())
                continue;
            pictures.push_back({look.prefix + u'_' + QString::fromLatin1(element.name), element.draw(look, size)});
        }
        const TitleButtons& buttons = kTitleButtons[size_t(s)];
        pictures.push_back({look.prefix + QStringLiteral("_TITLEBTN"),
                            titleButtonStrip(look, QSize(buttons.size.width() / 18, buttons.size.height()),
                                             buttons.titleHeight, buttons.top)});
    }
    const Look mac = lookOf(MacOS);
    pictures.push_back({"MENU_CHECKED", menuChecked()});
    pictures.push_back({"MSGDLG", messageIcons()});
    pictures.push_back({"MORE_SCROLLBUTTON", arrowButtons(lookOf(DeepBlue), {18, 17})});
    pictures.push_back({"PANEL_BUTTON", panelButtons()});
    pictures.push_back({"MACOS_MENU_BAR", columnGradient({1, 22}, QColor(252, 252, 252), QColor(240, 240, 240), QColor(222, 222, 222))});
    pictures.push_back({"MACOS_MENU_SELECT", columnGradient({1, 21}, QColor(118, 166, 236), mac.accent, QColor(34, 88, 184))});
    pictures.push_back({"STATUSBAR_HANDLE", statusBarHandle()});
    pictures.push_back({"FONTCOMBO_TRUETYPE_FNT", trueTypeMarker()});
    pictures.push_back({"FONTCOMBO_DEVICE_FNT", deviceMarker()});
    return pictures;
}

} // namespace skingen
