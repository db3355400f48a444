#include "Controls.h"

#include <QFileInfo>
#include <QPainter>

TsuiForm::TsuiForm(QWidget* parent) : QWidget(parent) {}

void TsuiForm::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Color);
}

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

TsuiButton::TsuiButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

TsuiToolButton::TsuiToolButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral(
        "QPushButton { color: white; background: transparent; border: 1px solid transparent; }"
        "QPushButton:hover { border: 1px solid rgba(255,255,255,150); background: rgba(255,255,255,40); }"
        "QPushButton:pressed { background: rgba(0,0,0,40); }"
        "QPushButton:disabled { color: rgba(255,255,255,110); }"));
}

TsuiCheckBox::TsuiCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

TsuiEdit::TsuiEdit(QWidget* parent) : QLineEdit(parent) {}

TsuiMemo::TsuiMemo(QWidget* parent) : QPlainTextEdit(parent) {}

TsuiProgressBar::TsuiProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setFixedHeight(12);
    setTextVisible(true);
    hide();
}

TsuiPopupMenu::TsuiPopupMenu(QWidget* parent) : QMenu(parent) {}

TsuiMainMenu::TsuiMainMenu(QWidget* parent) : QMenuBar(parent) {}
