#include "TsuiPanel.h"

#include "SkinPainting.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kButtonFrames = 4;
constexpr int kButtonFromRight = 17;
constexpr int kHotFromRight = 18;
constexpr int kCaptionLeft = 10;
constexpr int kInset = 3;
} // namespace

TsuiPanel::TsuiPanel(QWidget* parent, const QString& caption)
    : QWidget(parent),
      skin::BorderedControl(this, [this] {
          readStyle();
          skin::ApplyStyleToChildren(this, style_.resolved().useTheme ? TsuiUIStyle::FromThemeFile
                                                                       : style_.resolved().style,
                                     style_.fileTheme());
      }),
      caption_(caption)
{
    setFont(skin::windowFont());
    setMouseTracking(true);
    readStyle();
    rememberedHeight_ = height();
}

// Caption bar and caption colour (black in MacOS); white behind the content. The border is read
// before.
void TsuiPanel::readStyle()
{
    bar_ = style_.bitmap(StyleEntry::SideChannelBarImage);
    const skin::ResolvedStyle from = style_.resolved();
    captionFontColor_ = !from.useTheme && from.style == TsuiUIStyle::MacOS ? QColor(Qt::black)
                                                                           : skin::toQColor(style_.color(StyleEntry::MenuSelectedFontColor));
    color_ = Qt::white;
}

void TsuiPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TsuiPanel::setShowButton(bool show)
{
    showButton_ = show;
    update();
}

void TsuiPanel::setColor(const QColor& color)
{
    color_ = color;
    update();
}

int TsuiPanel::barHeight() const
{
    return bar_.isNull() ? kBarlessHeight : bar_.height();
}

QRect TsuiPanel::buttonRect() const
{
    return QRect(width() - kButtonFromRight, (barHeight() - 12) / 2 + 2, 13, 12);
}

bool TsuiPanel::isHotAt(QPoint at) const
{
    return showButton_ && at.x() >= width() - kHotFromRight && at.y() >= 0 && at.y() < barHeight();
}

QRect TsuiPanel::clientArea() const
{
    return QRect(QPoint(kInset, barHeight() + kInset), QPoint(width() - kInset - 1, height() - kInset - 1));
}

void TsuiPanel::alignClient(QWidget* child)
{
    Q_ASSERT(child && child->parentWidget() == this);
    clientChild_ = child;
    child->setGeometry(clientArea());
}

void TsuiPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    painter.setPen(borderColor_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int bar = barHeight();
    if (!bar_.isNull())
        painter.drawImage(QRect(1, 0, width() - 2, bar), bar_);
    painter.setFont(font());
    painter.setPen(captionFontColor_);
    painter.drawText(QRect(kCaptionLeft, 0, width() - kCaptionLeft, bar),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
    if (showButton_) {
        const int frame = (collapsed_ ? 3 : 1) + (hot_ ? 1 : 0);
        const QImage strip = skin::skinPicture(QStringLiteral("PANEL_BUTTON"));
        painter.drawImage(buttonRect().topLeft(), skin::sliceStrip(strip, kButtonFrames, frame));
    }
}

void TsuiPanel::mouseMoveEvent(QMouseEvent* event)
{
    hot_ = isHotAt(event->position().toPoint());
    if (showButton_)
        update();
    QWidget::mouseMoveEvent(event);
}

void TsuiPanel::leaveEvent(QEvent* event)
{
    if (hot_) {
        hot_ = false;
        update();
    }
    QWidget::leaveEvent(event);
}

void TsuiPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isHotAt(event->position().toPoint()) && !moving_)
        toggle();
    QWidget::mouseReleaseEvent(event);
}

void TsuiPanel::toggle()
{
    if (collapsed_) {
        slideTo(rememberedHeight_);
        collapsed_ = false;
        update();
        emit OnPop();
    } else {
        slideTo(barHeight());
        collapsed_ = true;
        update();
        emit OnPush();
    }
}

void TsuiPanel::slideTo(int target)
{
    moving_ = true;
    while (height() != target) {
        const QRect before = geometry();
        const int next = height() > target ? std::max(height() - kStep, target) : std::min(height() + kStep, target);
        resize(width(), next);
        if (!isVisible())
            continue;
        if (parentWidget())
            parentWidget()->repaint(before.united(geometry()));
        else
            repaint();
    }
    moving_ = false;
}

void TsuiPanel::resizeEvent(QResizeEvent* event)
{
    if (!collapsed_ && !moving_)
        rememberedHeight_ = height();
    if (clientChild_)
        clientChild_->setGeometry(clientArea());
    QWidget::resizeEvent(event);
}
