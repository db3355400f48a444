// The skinned controls the windows are built from. The frame, buttons, check boxes and menus are
// drawn by the skin (their own headers); the others are still thin subclasses of their Qt
// counterparts.
#pragma once

#include "ControlStyle.h"
#include "TsuiButton.h"
#include "TsuiCheckBox.h"
#include "TsuiForm.h"
#include "TsuiMenus.h"

#include <QColor>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QWidget>

// A panel that shows a picture stretched over its whole area, or its colour when it has none.
namespace skin {
// A small glyph bitmap whose bottom-left pixel gives its transparent colour, as toolbar bitmaps
// carry it; an empty pixmap when the file is missing or unreadable.
QPixmap loadGlyph(const QString& path);
}

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

class TsuiEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TsuiEdit(QWidget* parent);
};

class TsuiMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TsuiMemo(QWidget* parent);
};

// A 12-pixel bar, hidden until used, that repaints only when what it shows changes.
class TsuiProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit TsuiProgressBar(QWidget* parent);
};

