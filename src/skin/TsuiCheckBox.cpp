#include "TsuiCheckBox.h"

#include "SkinPainting.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

TsuiCheckBox::TsuiCheckBox(QWidget* parent)
    : QCheckBox(parent), skin::StyledControl(this, skin::defaultStyleFor(parent), [this] {
          fitToCaption();
          update();
      })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFont(skin::windowFont());
    resize(93, 17);
    fitToCaption();
    connect(this, &QAbstractButton::toggled, this, [this] { CheckedChanged(); });
}

TsuiCheckBox::TsuiCheckBox(const QString& caption, QWidget* parent) : TsuiCheckBox(parent)
{
    setText(caption);
}

void TsuiCheckBox::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    fitToCaption();
}

void TsuiCheckBox::setTransparent(bool transparent)
{
    transparent_ = transparent;
    update();
}

void TsuiCheckBox::setText(const QString& caption)
{
    QCheckBox::setText(caption);
    fitToCaption();
    update();
}

QImage TsuiCheckBox::picture() const
{
    return style_.bitmap(StyleEntry::CheckBoxImage, frameFor(isChecked(), isEnabled()), 4);
}

// Height: the larger of a line of text + 2 and the picture, + 4; width: the picture, the
// caption and 8 pixels.
void TsuiCheckBox::fitToCaption()
{
    if (!autoSize_)
        return;
    const QImage frame = picture();
    const int height = qMax(skin::textHeight(font()) + 2, frame.height()) + 4;
    const QSize fitted(frame.width() + skin::captionWidth(font(), text()) + 8, height);
    if (size() != fitted)
        resize(fitted);
}

// While AutoSize is on the box keeps its fitted size whatever size it is given.
void TsuiCheckBox::resizeEvent(QResizeEvent* event)
{
    QCheckBox::resizeEvent(event);
    fitToCaption();
}

void TsuiCheckBox::Toggle()
{
    setChecked(!isChecked());
    AfterToggle();
}

void TsuiCheckBox::nextCheckState()
{
    Toggle();
}

void TsuiCheckBox::Click()
{
    if (!isEnabled())
        return;
    if ((focusPolicy() & Qt::TabFocus) && isVisible())
        setFocus(Qt::OtherFocusReason);
    QCheckBox::click();
}

bool TsuiCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void TsuiCheckBox::paintEvent(QPaintEvent*)
{
    QImage canvas(size(), QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        skin::paintBackground(painter, this, transparent_);
        QImage frame = picture();
        if (PictureTransparent() && !frame.isNull())
            frame = skin::withTransparentColor(frame, frame.pixelColor(0, frame.height() - 1));
        painter.drawImage(1, (height() - frame.height()) / 2, frame);
        const int lineHeight = skin::textHeight(font());
        const QRect caption(frame.width() + 4, (height() - lineHeight) / 2, width(), lineHeight);
        painter.setFont(font());
        painter.setPen(isEnabled() ? palette().color(QPalette::WindowText) : QColor(128, 128, 128));
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                         text());
        if (hasFocus() && (focusPolicy() & Qt::TabFocus))
            skin::drawFocusRect(painter, QRect(QPoint(caption.left() - 1, caption.top()),
                                               QPoint(width() - 1, caption.top() + lineHeight + 1)));
    }
    QPainter(this).drawImage(0, 0, canvas);
}

void TsuiCheckBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enterHeld_ = true;
        return;
    }
    QCheckBox::keyPressEvent(event);
}

void TsuiCheckBox::keyReleaseEvent(QKeyEvent* event)
{
    // Only an Enter whose press reached the box toggles it; a press taken by the window's
    // Default button does not.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        if (enterHeld_)
            Click();
        enterHeld_ = false;
        return;
    }
    QCheckBox::keyReleaseEvent(event);
}

// No double-click event: a second click is a click.
void TsuiCheckBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TsuiCheckBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        fitToCaption();
    QCheckBox::changeEvent(event);
}

bool TsuiCheckBox::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        Click();
        return true;
    }
    return QCheckBox::event(event);
}
