// A long store loop's progress shown on a progress bar.
#pragma once

#include "store/Progress.h"

#include <QtGlobal>

class QProgressBar;

namespace skin {

// A long loop's progress on a progress bar: shown at begin, moved by one per step, but handed
// a new value only when the percentage or the filled width changes, so the loop spends its time
// in the loop. The exact count is handed over when this object goes, whether the loop ended or
// failed. A maximum of 0 still shows an empty bar, not the toolkit's busy animation.
class ProgressBarSteps : public store::Progress {
public:
    explicit ProgressBarSteps(QProgressBar* bar) : bar_(bar) {}
    ~ProgressBarSteps() override;
    ProgressBarSteps(const ProgressBarSteps&) = delete;
    ProgressBarSteps& operator=(const ProgressBarSteps&) = delete;
    void begin(int maximum) override;
    void step() override;

private:
    qint64 shownPart(qint64 position, qint64 scale) const;

    QProgressBar* bar_;
    qint64 maximum_ = 0;
    qint64 position_ = 0;
    qint64 shown_ = 0;
};

} // namespace skin
