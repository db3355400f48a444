#include "TsuiStatusBar.h"

#include "Controls.h"

#include <QPainter>

TsuiStatusBar::TsuiStatusBar(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(19);
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

void TsuiStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), skin::kPanelColor);
    int left = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? this->width() - left : panels_[i].width;
        const QRect cell(left, 1, width - 2, height() - 2);
        painter.setPen(QColor(172, 168, 153));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(4, 0, -4, 0), int(panels_[i].alignment | Qt::AlignVCenter),
                         panels_[i].text);
        left += width;
    }
}
