// Small pieces the materials-book windows share: the frame of a fixed-size dialog, the question
// picture, the progress bar as a write's progress, and the file choosers.
#pragma once

#include "EntryRows.h"

#include <QString>
#include <functional>

class QDialog;
class QLabel;
class QWidget;
class TsuiForm;
class QProgressBar;

namespace book {

// Gives the dialog its caption and fixed client size, and returns the frame panel that fills it.
TsuiForm* makeDialogFrame(QDialog* dialog, int width, int height, const QString& caption);

// The 42 × 42 question-mark picture at the given place.
QLabel* makeQuestionPicture(QWidget* parent, int left, int top);

// A long loop's progress on a progress bar: shown at begin, moved by one per step, but handed
// a new value only when the percentage or the filled width changes, so the loop spends its time
// in the loop. The exact count is handed over when this object goes, whether the loop ended or
// failed. A maximum of 0 still shows an empty bar, not the toolkit's busy animation.
class ProgressBarSteps : public Progress {
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

// Asks for a file; an empty text when the user cancels.
using FileChooser = std::function<QString()>;
inline const QString kTextFileFilter = QStringLiteral("文本文档 (*.txt)");
FileChooser openTextFileChooser(QWidget* parent);
FileChooser saveTextFileChooser(QWidget* parent);

} // namespace book
