// The skinned edit box and multi-line editor: the toolkit's own editors whose border is the
// skin's two-colour frame, BorderColor outside and the editor's own colour one pixel inside.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QLineEdit>
#include <QPlainTextEdit>

class TsuiFileTheme;

class TsuiEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(skin::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
public:
    explicit TsuiEdit(QWidget* parent);

    TsuiFileTheme* FileTheme() const { return style_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { style_.setFileTheme(theme); }
    TsuiUIStyle UIStyle() const { return style_.uiStyle(); }
    void setUIStyle(TsuiUIStyle uiStyle) { style_.setUIStyle(uiStyle); }
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    // The colour behind the text, which is also the frame's inner line.
    QColor Color() const { return palette().color(QPalette::Base); }
    void setColor(const QColor& color);

protected:
    // Without a frame (setFrame(false)) the edit shows no border at all.
    void paintEvent(QPaintEvent*) override;

private:
    skin::ControlStyle style_;
    QColor borderColor_;
};

class TsuiMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(skin::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
public:
    explicit TsuiMemo(QWidget* parent);

    TsuiFileTheme* FileTheme() const { return style_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { style_.setFileTheme(theme); }
    TsuiUIStyle UIStyle() const { return style_.uiStyle(); }
    void setUIStyle(TsuiUIStyle uiStyle) { style_.setUIStyle(uiStyle); }
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);
    QColor Color() const { return palette().color(QPalette::Base); }
    void setColor(const QColor& color);

protected:
    // The frame is painted over the toolkit's after each paint of the editor's own area; with
    // the frame shape set to none the editor shows no border.
    bool event(QEvent* event) override;

private:
    skin::ControlStyle style_;
    QColor borderColor_;
};
