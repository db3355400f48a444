// The skinned controls the windows are built from. Each starts as a thin subclass of its Qt
// counterpart; the skin draws them in the program's style without the windows changing.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

namespace skin {
// The colour of panels where no picture covers them.
inline const QColor kPanelColor(239, 235, 222);
}

// The skinned frame panel that fills a window; every control of the window is its child.
class TsuiForm : public QWidget {
    Q_OBJECT
public:
    explicit TsuiForm(QWidget* parent);
    QColor Color = skin::kPanelColor;

protected:
    void paintEvent(QPaintEvent*) override;
};

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

class TsuiButton : public QPushButton {
    Q_OBJECT
public:
    explicit TsuiButton(const QString& caption, QWidget* parent);
};

// A flat button with a white caption, for the toolbar strips.
class TsuiToolButton : public QPushButton {
    Q_OBJECT
public:
    explicit TsuiToolButton(const QString& caption, QWidget* parent);
};

class TsuiCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TsuiCheckBox(const QString& caption, QWidget* parent);
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

class TsuiPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TsuiPopupMenu(QWidget* parent);
};

class TsuiMainMenu : public QMenuBar {
    Q_OBJECT
public:
    explicit TsuiMainMenu(QWidget* parent);
};
