// What the export and import dialogs share: the progress bar as a Progress, the file dialog, and
// the path row (a read-only path edit and a browse button) in a group box.
#pragma once

#include "BookTransfer.h"

#include <QFileDialog>
#include <QString>

class QGroupBox;
class QProgressBar;
class QWidget;
class TsuiButton;
class TsuiEdit;

namespace exchange {

// Moves the bar one unit per step, but hands it a new value only when the percentage or the
// filled width changes, so a long loop spends its time in the loop. The exact count is handed
// over when this object goes, whether the loop ended or failed.
class BarProgress : public Progress {
public:
    explicit BarProgress(QProgressBar& bar);
    ~BarProgress() override;
    BarProgress(const BarProgress&) = delete;
    BarProgress& operator=(const BarProgress&) = delete;

    void begin(int maximum) override;
    void advance() override;

private:
    qint64 shownPart(qint64 position, qint64 scale) const;

    QProgressBar& bar_;
    qint64 maximum_ = 0;
    qint64 position_ = 0;
    qint64 shown_ = 0;
};

// The program's own file dialog for exchange files ("MZ文件 (*.mz)"): an existing file to open,
// or any name to save under without an overwrite question. Empty when cancelled.
QString askForExchangeFile(QWidget* owner, const QString& title, QFileDialog::AcceptMode mode);

struct PathRow {
    TsuiEdit* path;
    TsuiButton* browse;
};
// A read-only path edit and a "浏览" button across the top of the group box.
PathRow addPathRow(QGroupBox* box);

// Buttons of the same size at the right of the window's bottom row, left to right.
TsuiButton* addBottomButton(QWidget* form, const QString& caption, int slotFromRight, int top);

} // namespace exchange
