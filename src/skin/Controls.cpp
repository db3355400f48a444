#include "Controls.h"

#include <QFileInfo>
#include <QPainter>

TsuiForm::TsuiForm(QWidget* parent, TsuiUIStyle style)
    : QWidget(parent),
      style_(this, style, [this] { applyStyle(); },
             [this] { skin::ApplyStyleToChildren(this, TsuiUIStyle::DeepBlue, nullptr); })
{
    applyStyle();
}

void TsuiForm::applyStyle()
{
    Color = skin::toQColor(style_.color(15));
    if (UIStyleAutoUpdateSub)
        skin::ApplyStyleToChildren(this, style_.uiStyle(), style_.fileTheme());
    update();
}

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

TsuiEdit::TsuiEdit(QWidget* parent) : QLineEdit(parent) {}

TsuiMemo::TsuiMemo(QWidget* parent) : QPlainTextEdit(parent) {}

TsuiProgressBar::TsuiProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setFixedHeight(12);
    setTextVisible(true);
    hide();
}

namespace skin {

QPixmap loadGlyph(const QString& path)
{
    const QImage image(path);
    if (image.isNull())
        return {};
    QPixmap glyph = QPixmap::fromImage(image);
    const QColor key = image.pixelColor(0, image.height() - 1);
    glyph.setMask(glyph.createMaskFromColor(key, Qt::MaskInColor));
    return glyph;
}

} // namespace skin
