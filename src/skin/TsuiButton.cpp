#include "TsuiButton.h"

#include "SkinPainting.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

constexpr QSize kBlankPicture(74, 21);
constexpr QColor kDisabledText(128, 128, 128);

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Enter and Escape reach the window's Default and Cancel buttons before the focused control
// sees them, except in multi-line editors, which keep those keys for themselves.
class DialogKeys : public QObject {
public:
    static void install()
    {
        static DialogKeys* filter = nullptr;
        if (!filter && qApp) {
            filter = new DialogKeys(qApp);
            qApp->installEventFilter(filter);
        }
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = isEnterKey(key->key());
        if ((!enter && key->key() != Qt::Key_Escape) ||
            (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            return false;
        auto* focused = qobject_cast<QWidget*>(receiver);
        if (!focused || qobject_cast<QPlainTextEdit*>(focused) || qobject_cast<QTextEdit*>(focused))
            return false;
        for (TsuiButton* button : focused->window()->findChildren<TsuiButton*>()) {
            if (!(enter ? button->isDefault() : button->isCancel()))
                continue;
            if (!button->isEnabled() || !button->isVisible() || button->window() != focused->window())
                continue;
            button->Click();
            return true;
        }
        return false;
    }

private:
    using QObject::QObject;
};

} // namespace

// ---- TsuiCustomButton ------------------------------------------------------------------------

TsuiCustomButton::TsuiCustomButton(QWidget* parent)
    : QPushButton(parent),
      skin::StyledControl(this, skin::defaultStyleFor(parent), [this] {
          UIStyleChanged();
          AutoSizeChanged();
          update();
      })
{
    setAutoDefault(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A tab stop that takes the focus when clicked (in Click), not when pressed.
    setFocusPolicy(Qt::TabFocus);
    setFont(skin::windowFont());
    resize(80, 27);
    DialogKeys::install();
}

void TsuiCustomButton::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AutoSizeChanged();
}

void TsuiCustomButton::setTransparent(bool transparent)
{
    transparent_ = transparent;
    TransparentChanged();
}

void TsuiCustomButton::setText(const QString& caption)
{
    QPushButton::setText(caption);
    CaptionChanged();
    update();
}

// The size of one frame of the button strip of the control's own style; a blank picture
// when the style has none.
void TsuiCustomButton::AutoSizeChanged()
{
    if (!autoSize_)
        return;
    QImage strip;
    skin::StyleBitmap(style_.uiStyle(), StyleEntry::ButtonImage, &strip);
    resize(strip.isNull() ? kBlankPicture : QSize(strip.width() / 3, strip.height()));
}

QImage TsuiCustomButton::pictureForState()
{
    QImage picture;
    if (!isEnabled())
        picture = LoadDisabledPicture();
    else if (pressed_)
        picture = LoadMouseDownPicture();
    else if (hot_)
        picture = LoadMouseOnPicture();
    else
        picture = LoadNormalPicture();
    if (picture.isNull()) {
        picture = QImage(kBlankPicture, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    return picture;
}

void TsuiCustomButton::PaintPicture(QPainter& painter, const QImage& picture)
{
    if (transparent_)
        painter.drawImage(0, 0, skin::withTransparentColor(picture, picture.pixelColor(0, 0)));
    else
        painter.drawImage(0, 0, picture);
}

void TsuiCustomButton::PaintCaption(QPainter& painter)
{
    drawCaption(painter, rect(), Qt::AlignCenter);
}

// Disabled: white one pixel right and down, then grey in place; pressed: one pixel right and down.
void TsuiCustomButton::drawCaption(QPainter& painter, QRect area, Qt::Alignment alignment)
{
    QFont captionFont = font();
    captionFont.setBold(captionFont.bold() || boldCaption_);
    painter.setFont(captionFont);
    const int flags = int(alignment) | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!isEnabled()) {
        painter.setPen(Qt::white);
        painter.drawText(area.translated(1, 1), flags, text());
        painter.setPen(kDisabledText);
    } else {
        painter.setPen(palette().color(QPalette::ButtonText));
        if (pressed_)
            area.translate(1, 1);
    }
    painter.drawText(area, flags, text());
}

void TsuiCustomButton::PaintFocus(QPainter& painter)
{
    skin::drawFocusRect(painter, rect().adjusted(2, 2, -2, -2));
}

void TsuiCustomButton::paintEvent(QPaintEvent*)
{
    QImage canvas(size(), QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        skin::paintBackground(painter, this, transparent_);
        PaintPicture(painter, pictureForState());
        if (hasFocus() && (focusPolicy() & Qt::TabFocus))
            PaintFocus(painter);
        if (!text().trimmed().isEmpty())
            PaintCaption(painter);
        boldCaption_ = false;
    }
    QPainter(this).drawImage(0, 0, canvas);
}

void TsuiCustomButton::enterEvent(QEnterEvent*)
{
    hot_ = true;
    update();
    emit MouseEnter();
}

void TsuiCustomButton::leaveEvent(QEvent*)
{
    hot_ = false;
    pressed_ = false;
    stopRepeat();
    update();
    emit MouseExit();
}

void TsuiCustomButton::startRepeat()
{
    if (repeat_)
        return;
    repeat_ = new QTimer(this);
    repeat_->setInterval(qMax(repeatInterval_, 0));
    connect(repeat_, &QTimer::timeout, this, &TsuiCustomButton::MouseContinuouslyDown);
    repeat_->start();
}

void TsuiCustomButton::stopRepeat()
{
    delete repeat_;
    repeat_ = nullptr;
}

void TsuiCustomButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    startRepeat();
    update();
    emit pressed();
}

void TsuiCustomButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height()) {
        hot_ = false;
        pressed_ = false;
        stopRepeat();
        update();
    }
}

void TsuiCustomButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(event);
        return;
    }
    stopRepeat();
    emit released();
    if (rect().contains(event->position().toPoint()))
        Click();
    else if (pressed_) {
        pressed_ = false;
        update();
    }
}

// No double-click event: a second click is a click.
void TsuiCustomButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TsuiCustomButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Space || isEnterKey(event->key())) && isEnabled()) {
        if (!event->isAutoRepeat()) {
            pressed_ = true;
            update();
        }
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TsuiCustomButton::keyReleaseEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Space || isEnterKey(event->key())) && !event->isAutoRepeat()) {
        if (pressed_ && isEnabled()) {
            pressed_ = false;
            update();
            Click();
        }
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

void TsuiCustomButton::Click()
{
    if (pressed_) {
        stopRepeat();
        pressed_ = false;
        update();
    }
    if (!isEnabled())
        return;
    if ((focusPolicy() & Qt::TabFocus) && isVisible())
        setFocus(Qt::OtherFocusReason);
    QPushButton::click();
    afterClick();
}

void TsuiCustomButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        EnabledChanged();
    else if (event->type() == QEvent::FontChange)
        FontChanged();
    QPushButton::changeEvent(event);
}

bool TsuiCustomButton::event(QEvent* event)
{
    // The access key clicks at once instead of the toolkit's animated click.
    if (event->type() == QEvent::Shortcut) {
        Click();
        return true;
    }
    return QPushButton::event(event);
}

QSize TsuiCustomButton::sizeHint() const
{
    return QSize(qMax(80, skin::captionWidth(font(), text()) + 16), 27);
}

// ---- TsuiButton ------------------------------------------------------------------------------

TsuiButton::TsuiButton(QWidget* parent) : TsuiCustomButton(parent)
{
    style_.setUIStyle(style_.uiStyle());  // the style values of TsuiButton itself
}

TsuiButton::TsuiButton(const QString& caption, QWidget* parent) : TsuiButton(parent)
{
    setText(caption);
}

void TsuiButton::UIStyleChanged()
{
    setTransparent(style_.boolean(StyleEntry::ButtonTransparentBool));
}

void TsuiButton::setGlyph(const QImage& glyph)
{
    glyph_ = glyph;
    update();
}

void TsuiButton::PaintPicture(QPainter& painter, const QImage& picture)
{
    skin::paintNineSlice(painter, rect(), picture, Transparent());
    if (glyph_.isNull())
        return;
    const QSize size = glyphSize();
    const bool twoFrames = glyph_.width() == 2 * glyph_.height();
    QImage frame = twoFrames ? glyph_.copy(isEnabled() ? 0 : size.width(), 0, size.width(), size.height()) : glyph_;
    frame = skin::withTransparentColor(frame, glyph_.pixelColor(0, 0));
    if (!isEnabled() && !twoFrames)
        frame = skin::greyed(frame);
    const QPoint at = placement().glyph + (isPressed() ? QPoint(1, 1) : QPoint());
    painter.drawImage(at, frame);
}

void TsuiButton::PaintCaption(QPainter& painter)
{
    if (glyph_.isNull()) {
        TsuiCustomButton::PaintCaption(painter);
        return;
    }
    // One line of the font's pixel height at the caption position, the glyphs centred in it.
    const QPoint at = placement().caption;
    drawCaption(painter, QRect(at, QSize(width() - at.x(), skin::textHeight(font()))),
                Qt::AlignLeft | Qt::AlignVCenter);
}

void TsuiButton::PaintFocus(QPainter& painter)
{
    const TsuiUIStyle effective = style_.resolved().style;
    if (effective == TsuiUIStyle::MacOS || effective == TsuiUIStyle::BlueGlass)
        boldCaption_ = true;
    else
        TsuiCustomButton::PaintFocus(painter);
}

void TsuiButton::afterClick()
{
    if (modalResult_ == 0 || !parentWidget())
        return;
    auto* dialog = qobject_cast<QDialog*>(window());
    if (dialog && dialog->isModal() && dialog->isVisible())
        dialog->done(modalResult_);
}

QSize TsuiButton::glyphSize() const
{
    if (glyph_.width() == 2 * glyph_.height())
        return QSize(glyph_.height(), glyph_.height());
    return glyph_.size();
}

TsuiButton::Placement TsuiButton::placement() const
{
    const QSize text(skin::captionWidth(font(), this->text()), skin::textHeight(font()));
    return place(layout_, size(), glyphSize(), text, spacing_);
}

TsuiButton::Placement TsuiButton::place(TButtonLayout layout, QSize button, QSize glyph, QSize text, int s)
{
    const int W = button.width(), H = button.height();
    const int gw = glyph.width(), gh = glyph.height(), tw = text.width(), th = text.height();
    Placement at;
    switch (layout) {
    case blGlyphLeft:
        at.glyph = {(W - gw - tw - s) / 2, (H - gh) / 2};
        at.caption = {at.glyph.x() + gw + s, (H - th) / 2};
        break;
    case blGlyphRight:
        at.glyph = {(W + tw + s - gw) / 2, (H - gh) / 2};
        at.caption = {at.glyph.x() - tw - s, (H - th) / 2};
        break;
    case blGlyphTop:
        at.glyph = {(W - gw) / 2, (H - th - gh - s) / 2};
        at.caption = {(W - tw) / 2, at.glyph.y() + gh + s};
        break;
    case blGlyphBottom:
        at.glyph = {(W - gw) / 2, (H + th + s - gh) / 2};
        at.caption = {(W - tw) / 2, at.glyph.y() - th - s};
        break;
    }
    return at;
}

// ---- TsuiToolButton --------------------------------------------------------------------------

TsuiToolButton::TsuiToolButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);  // repainted as the pointer comes and goes
}

void TsuiToolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (isDown()) {
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
    } else if (isEnabled() && underMouse()) {
        painter.fillRect(rect(), QColor(255, 255, 255, 40));
        painter.setPen(QColor(255, 255, 255, 150));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    constexpr int kIconGap = 4;
    constexpr int kTextFlags = Qt::AlignVCenter | Qt::TextShowMnemonic;
    const QPixmap glyph = icon().isNull() ? QPixmap()
                                          : icon().pixmap(iconSize(), devicePixelRatio(),
                                                          isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : glyph.deviceIndependentSize().toSize();
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().boundingRect(inner, kTextFlags, text()).width();
    const int labelWidth = glyphSize.width() + (textWidth > 0 ? textWidth + kIconGap : 0);
    const int left = inner.x() + (inner.width() - labelWidth) / 2;
    if (!glyph.isNull())
        painter.drawPixmap(left, inner.y() + (inner.height() - glyphSize.height()) / 2, glyph);
    QRect textArea = inner;
    textArea.setLeft(glyph.isNull() ? left : left + glyphSize.width() + kIconGap / 2);
    painter.setPen(isEnabled() ? QColor(Qt::white) : QColor(255, 255, 255, 110));
    painter.drawText(textArea, kTextFlags | Qt::AlignLeft, text());
}
