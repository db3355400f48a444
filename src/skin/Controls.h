// The skinned controls the windows are built from. Buttons, check boxes and menus are drawn
// by the skin (their own headers); the others are still thin subclasses of their Qt counterparts.
#pragma once

#include "ControlStyle.h"
#include "TsuiButton.h"
#include "TsuiCheckBox.h"
#include "TsuiMenus.h"

#include <QColor>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QWidget>

namespace skin {
// The colour of panels where no picture covers them.
inline const QColor kPanelColor(239, 235, 222);
}

// The skinned frame panel that fills a window; every control of the window is its child. Its
// style is the one the controls created on the window start with.
class TsuiForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(skin::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor Color MEMBER Color)
public:
    // The program's windows all show the WinXP style.
    explicit TsuiForm(QWidget* parent, TsuiUIStyle style = TsuiUIStyle::WinXP);

    TsuiFileTheme* FileTheme() const { return style_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { style_.setFileTheme(theme); }
    TsuiUIStyle UIStyle() const { return style_.uiStyle(); }
    // Sets the panel colour from the style and, with UIStyleAutoUpdateSub, passes the style and
    // theme on to the direct children.
    void setUIStyle(TsuiUIStyle style) { style_.setUIStyle(style); }
    bool UIStyleAutoUpdateSub = false;
    QColor Color = skin::kPanelColor;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void applyStyle();
    skin::ControlStyle style_;
};

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


