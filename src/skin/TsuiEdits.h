// The skinned edit box and multi-line editor: the toolkit's own editors whose border is the
// skin's two-colour frame, BorderColor outside and the editor's own colour one pixel inside.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QLineEdit>
#include <QPlainTextEdit>

class TsuiEdit : public QLineEdit, public skin::BorderedControl {
    Q_OBJECT
public:
    explicit TsuiEdit(QWidget* parent);

    // The colour behind the text, which is also the frame's inner line.
    QColor Color() const { return palette().color(QPalette::Base); }
    void setColor(const QColor& color);

protected:
    // Without a frame (setFrame(false)) the edit shows no border at all.
    void paintEvent(QPaintEvent*) override;
};

class TsuiMemo : public QPlainTextEdit, public skin::BorderedControl {
    Q_OBJECT
public:
    explicit TsuiMemo(QWidget* parent);

    QColor Color() const { return palette().color(QPalette::Base); }
    void setColor(const QColor& color);

protected:
    // The frame is painted over the toolkit's after each paint of the editor's own area; with
    // the frame shape set to none the editor shows no border.
    bool event(QEvent* event) override;
};
