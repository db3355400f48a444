#include "TsuiGroupBox.h"

#include "SkinPainting.h"

#include <QPainter>
#include <QPolygon>

namespace {
const QColor kDisabledCaption(128, 128, 128);  // 8421504
constexpr int kCaptionLeft = 5;
} // namespace

TsuiGroupBox::TsuiGroupBox(QWidget* parent, const QString& caption)
    : QWidget(parent),
      skin::BorderedControl(this, [this] {
          readStyle();
          skin::ApplyStyleToChildren(this, style_.uiStyle(), style_.fileTheme());
      }),
      caption_(caption),
      color_(skin::parentColor(this))
{
    setFont(skin::windowFont());
    resize(185, 105);
    readStyle();
}

// The caption's colour; the border is read before.
void TsuiGroupBox::readStyle()
{
    fontColor_ = skin::toQColor(style_.color(StyleEntry::ControlFontColor));
}

void TsuiGroupBox::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TsuiGroupBox::setFontColor(const QColor& color)
{
    fontColor_ = color;
    update();
}

void TsuiGroupBox::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void TsuiGroupBox::setTransparent(bool transparent)
{
    transparent_ = transparent;
    update();
}

void TsuiGroupBox::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    for (QObject* child : children())
        if (auto* control = qobject_cast<QWidget*>(child); control && !control->isWindow())
            control->setEnabled(enabled);
    update();
}

int TsuiGroupBox::lineRow() const
{
    return skin::textHeight(font()) / 2 + 1;
}

QRect TsuiGroupBox::clientArea() const
{
    const int top = skin::textHeight(font()) + 5;
    return QRect(QPoint(3, top), QPoint(width() - 4, height() - 4));
}

// From (2, y) left to the corner, down, across, up and back to the end of the caption's gap.
void TsuiGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!transparent_)
        painter.fillRect(rect(), color_);
    const int y = lineRow(), right = width() - 1, bottom = height() - 1;
    const int gapEnd = caption_.isEmpty() ? 0 : skin::captionWidth(font(), caption_) + 6;
    painter.setPen(borderColor_);
    painter.drawPolyline(QPolygon({QPoint(2, y), QPoint(0, y), QPoint(0, bottom), QPoint(right, bottom),
                                   QPoint(right, y), QPoint(gapEnd, y)}));
    painter.setFont(font());
    painter.setPen(isEnabled() ? fontColor_ : kDisabledCaption);
    painter.drawText(QRect(kCaptionLeft, 0, width() - kCaptionLeft, skin::textHeight(font()) + 2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
}
