#include "TsuiStatusBar.h"

#include "SkinPainting.h"
#include "TsuiForm.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kCellLine(172, 168, 153);
// The window's corner follows the mouse this far beyond it.
constexpr int kSizingOverhang = 5;
} // namespace

TsuiStatusBar::TsuiStatusBar(QWidget* parent) : TsuiStatusBar(parent, nullptr) {}

TsuiStatusBar::TsuiStatusBar(TsuiForm* form) : TsuiStatusBar(form, form) {}

TsuiStatusBar::TsuiStatusBar(QWidget* parent, const skin::WindowFrame* frame)
    : QWidget(parent), skin::StyledControl(this, skin::defaultStyleFor(parent), [this] {
          setPanelColor(skin::toQColor(style_.color(StyleEntry::FormBackgroundColor)));
      }),
      frame_(frame)
{
    panelColor_ = skin::toQColor(style_.color(StyleEntry::FormBackgroundColor));
    setFixedHeight(19);
    setMouseTracking(true);
}

void TsuiStatusBar::setPanelColor(const QColor& color)
{
    panelColor_ = color;
    update();
}

void TsuiStatusBar::setPanels(std::vector<Panel> panels)
{
    panels_ = std::move(panels);
    update();
}

void TsuiStatusBar::setPanelText(int index, const QString& text)
{
    panels_.at(size_t(index)).text = text;
    update();
}

bool TsuiStatusBar::showsHandle() const
{
    return frame_ && frame_->Sizeable() && !frame_->isMaximized();
}

QRect TsuiStatusBar::handleRect() const
{
    const QImage handle = skin::skinPicture(QStringLiteral("STATUSBAR_HANDLE"));
    return QRect(width() - handle.width() - 1, height() - handle.height() - 1, handle.width(), handle.height());
}

void TsuiStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), panelColor_);
    painter.setFont(skin::windowFont());
    int left = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? this->width() - left : panels_[i].width;
        const QRect cell(left, 1, width - 2, height() - 2);
        painter.setPen(kCellLine);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(4, 0, -4, 0), int(panels_[i].alignment | Qt::AlignVCenter),
                         panels_[i].text);
        left += width;
    }
    if (showsHandle()) {
        const QImage handle = skin::skinPicture(QStringLiteral("STATUSBAR_HANDLE"));
        painter.drawImage(handleRect().topLeft(),
                          skin::withTransparentColor(handle, handle.pixelColor(0, handle.height() - 1)));
    }
}

void TsuiStatusBar::mousePressEvent(QMouseEvent* event)
{
    sizing_ = event->button() == Qt::LeftButton && showsHandle()
              && handleRect().contains(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void TsuiStatusBar::mouseMoveEvent(QMouseEvent* event)
{
    const bool overHandle = showsHandle() && handleRect().contains(event->position().toPoint());
    if (overHandle || sizing_)
        setCursor(Qt::SizeFDiagCursor);
    else
        unsetCursor();
    if (sizing_) {
        QWidget* frame = window();
        const QPoint corner = event->globalPosition().toPoint() + QPoint(kSizingOverhang, kSizingOverhang);
        frame->resize(QSize(corner.x() - frame->x(), corner.y() - frame->y()).expandedTo(frame->minimumSize()));
    }
    QWidget::mouseMoveEvent(event);
}

void TsuiStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    sizing_ = false;
    QWidget::mouseReleaseEvent(event);
}
