#include "TsuiComboBox.h"

#include "SkinPainting.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPolygon>

namespace {
constexpr int kButtonWidth = 16;
constexpr int kFrameWidth = 2;
const QColor kDisabledArrow(128, 128, 128);  // 8421504
} // namespace

TsuiCustomComboBox::TsuiCustomComboBox(QWidget* parent)
    : QComboBox(parent), skin::BorderedControl(this, [this] { readStyle(); })
{
    setFont(skin::windowFont());
    // The list drops down below the box, as a drop-down list does, not over it as a menu.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    readStyle();
}

// The button's colour from the style; the arrow stays as set.
void TsuiCustomComboBox::readStyle()
{
    buttonColor_ = skin::toQColor(style_.color(StyleEntry::FormBackgroundColor));
    framePopup();
}

void TsuiCustomComboBox::framePopup()
{
    QWidget* popup = view()->parentWidget();
    if (!popup)
        return;
    popup->setStyleSheet(QStringLiteral("QComboBoxPrivateContainer { border: 1px solid %1; }")
                             .arg(borderColor_.name()));
}

void TsuiCustomComboBox::setBorderColor(const QColor& color)
{
    skin::BorderedControl::setBorderColor(color);
    framePopup();
}

void TsuiCustomComboBox::setArrowColor(const QColor& color)
{
    arrowColor_ = color;
    update();
}

void TsuiCustomComboBox::setColor(const QColor& color)
{
    skin::setPaletteColor(this, QPalette::Base, color);
}

QRect TsuiCustomComboBox::buttonArea() const
{
    return QRect(width() - kFrameWidth - kButtonWidth, kFrameWidth, kButtonWidth, height() - 2 * kFrameWidth);
}

QRect TsuiCustomComboBox::itemArea() const
{
    return QRect(kFrameWidth, kFrameWidth, buttonArea().left() - kFrameWidth, height() - 2 * kFrameWidth);
}

void TsuiCustomComboBox::paintCurrentItem(QPainter& painter, const QRect& area)
{
    painter.drawText(area.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     currentText());
}

void TsuiCustomComboBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    const QRect item = itemArea();
    const bool highlighted = hasFocus() && isEnabled();
    if (highlighted)
        painter.fillRect(item.adjusted(1, 1, -1, -1), palette().color(QPalette::Highlight));
    painter.setFont(font());
    painter.setPen(!isEnabled() ? kDisabledArrow
                   : highlighted ? palette().color(QPalette::HighlightedText)
                                 : palette().color(QPalette::Text));
    paintCurrentItem(painter, item);
    skin::paintTwoColourFrame(painter, rect(), borderColor_, Color());
    paintButton(painter);
    if (style_.resolved().style != TsuiUIStyle::WinXP)
        paintArrow(painter);
}

// WinXP and MacOS stretch their button picture over the area; the other styles fill it with
// ButtonColor and draw a line in BorderColor down its left edge, a pixel beyond either end.
void TsuiCustomComboBox::paintButton(QPainter& painter) const
{
    const QRect area = buttonArea();
    const skin::ResolvedStyle from = style_.resolved();
    QString picture;
    if (!from.useTheme && from.style == TsuiUIStyle::WinXP)
        picture = QStringLiteral("WINXP_COMBOBOX_BUTTON");
    else if (!from.useTheme && from.style == TsuiUIStyle::MacOS)
        picture = QStringLiteral("MACOS_COMBOBOX_BUTTON");
    if (!picture.isEmpty()) {
        painter.drawImage(area, skin::skinPicture(picture));
        return;
    }
    painter.fillRect(area, buttonColor_);
    painter.fillRect(QRect(area.left(), area.top() - 1, 1, area.height() + 2), borderColor_);
}

// A filled triangle pointing down, 6 pixels wide and 3 high, its top on the area's middle row;
// disabled, grey over a white copy a pixel to the right and below.
void TsuiCustomComboBox::paintArrow(QPainter& painter) const
{
    const QRect area = buttonArea();
    const QPoint top(area.left() + (area.width() - 6) / 2, area.top() + area.height() / 2);
    auto triangle = [&](QPoint at, const QColor& colour) {
        for (int row = 0; row < 3; ++row)
            painter.fillRect(at.x() + row, at.y() + row, 6 - 2 * row, 1, colour);
    };
    if (isEnabled()) {
        triangle(top, arrowColor_);
        return;
    }
    triangle(top + QPoint(1, 1), Qt::white);
    triangle(top, kDisabledArrow);
}
