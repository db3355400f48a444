// The skinned controls the windows are built from, each in its own header, and the plain
// picture panel.
#pragma once

#include "ControlStyle.h"
#include "TsuiButton.h"
#include "TsuiCheckBox.h"
#include "TsuiForm.h"
#include "TsuiMenus.h"
#include "TsuiComboBox.h"
#include "TsuiDBGrid.h"
#include "TsuiEdits.h"
#include "TsuiFontComboBox.h"
#include "TsuiGroupBox.h"
#include "TsuiListView.h"
#include "TsuiPanel.h"
#include "TsuiProgressBar.h"
#include "TsuiStatusBar.h"
#include "ScaledImage.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace skin {
// A small glyph bitmap whose bottom-left pixel gives its transparent colour, as toolbar bitmaps
// carry it; an empty pixmap when the file is missing or unreadable.
QPixmap loadGlyph(const QString& path);
}

// A panel that shows a picture stretched over its whole area, or its colour when it has none.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent, QColor background = skin::kPanelColor);
    // Loads the file when it exists; returns false (and keeps the panel empty) otherwise.
    bool loadFromFile(const QString& path);
    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap picture_;
    QColor background_;
};
