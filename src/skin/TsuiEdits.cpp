#include "TsuiEdits.h"

#include "FileTheme.h"
#include "SkinPainting.h"

#include <QEvent>
#include <QPainter>

namespace {
QColor borderOf(const skin::ControlStyle& style)
{
    return skin::toQColor(style.color(25));
}
} // namespace

TsuiEdit::TsuiEdit(QWidget* parent)
    : QLineEdit(parent), style_(this, skin::defaultStyleFor(parent), [this] { setBorderColor(borderOf(style_)); })
{
    borderColor_ = borderOf(style_);
    setTextMargins(1, 0, 1, 0);
}

void TsuiEdit::setBorderColor(const QColor& color)
{
    borderColor_ = color;
    update();
}

void TsuiEdit::setColor(const QColor& color)
{
    skin::setPaletteColor(this, QPalette::Base, color);
}

void TsuiEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (!hasFrame())
        return;
    QPainter painter(this);
    skin::paintTwoColourFrame(painter, rect(), borderColor_, Color());
}

TsuiMemo::TsuiMemo(QWidget* parent)
    : QPlainTextEdit(parent), style_(this, skin::defaultStyleFor(parent), [this] { setBorderColor(borderOf(style_)); })
{
    borderColor_ = borderOf(style_);
    skin::reserveFrame(this, 2);
}

void TsuiMemo::setBorderColor(const QColor& color)
{
    borderColor_ = color;
    update();
}

void TsuiMemo::setColor(const QColor& color)
{
    skin::setPaletteColor(this, QPalette::Base, color);
}

bool TsuiMemo::event(QEvent* event)
{
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::Paint)
        skin::paintFrameOver(this, borderColor_);
    return handled;
}
