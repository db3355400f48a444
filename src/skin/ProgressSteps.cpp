#include "ProgressSteps.h"

#include <QProgressBar>
#include <algorithm>

namespace skin {

ProgressBarSteps::~ProgressBarSteps()
{
    if (position_ != shown_)
        bar_->setValue(int(position_));
}

void ProgressBarSteps::begin(int maximum)
{
    maximum_ = maximum;
    position_ = shown_ = 0;
    bar_->setRange(0, std::max(maximum, 1));
    bar_->setValue(0);
    bar_->show();
    bar_->repaint();
}

qint64 ProgressBarSteps::shownPart(qint64 position, qint64 scale) const
{
    return maximum_ > 0 ? position * scale / maximum_ : 0;
}

void ProgressBarSteps::step()
{
    ++position_;
    const qint64 width = bar_->width();
    if (shownPart(position_, 100) != shownPart(shown_, 100)
        || shownPart(position_, width) != shownPart(shown_, width) || position_ == maximum_) {
        bar_->setValue(int(position_));
        shown_ = position_;
    }
}

} // namespace skin
