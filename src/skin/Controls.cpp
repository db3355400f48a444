#include "Controls.h"

#include <QFileInfo>
#include <QPainter>

TImage::TImage(QWidget* parent, QColor background) : QWidget(parent), background_(background) {}

bool TImage::loadFromFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QPixmap loaded;
    if (!loaded.load(path))
        return false;
    picture_ = loaded;
    update();
    return true;
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), background_);
    else
        painter.drawPixmap(rect(), picture_);
}

TsuiEdit::TsuiEdit(QWidget* parent) : QLineEdit(parent) {}

TsuiMemo::TsuiMemo(QWidget* parent) : QPlainTextEdit(parent) {}

TsuiProgressBar::TsuiProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setFixedHeight(12);
    setTextVisible(true);
    hide();
}
