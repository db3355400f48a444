#include "TsuiEdits.h"

#include "SkinPainting.h"

#include <QEvent>
#include <QPainter>

TsuiEdit::TsuiEdit(QWidget* parent)
    : QLineEdit(parent), skin::BorderedControl(this, {})
{
    setTextMargins(1, 0, 1, 0);
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
    : QPlainTextEdit(parent), skin::BorderedControl(this, {})
{
    skin::reserveFrame(this, 2);
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
