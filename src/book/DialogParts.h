// Small pieces the materials-book windows share: the wrap toggle of an entry editor and the
// questions for a text file.
#pragma once

#include "platform/FileChooser.h"

#include <QString>

class QPlainTextEdit;
class QWidget;
class TsuiButton;

namespace book {

// A button that switches an editor between wrapping at the window's width and not wrapping.
// It starts wrapping; the caption names what a press will do.
class WrapToggle {
public:
    WrapToggle(TsuiButton* button, QPlainTextEdit* editor, QString wrapOffCaption,
               QString wrapOnCaption);
    void toggle();
    bool wrapping() const { return wrapping_; }

private:
    void apply();

    TsuiButton* button_;
    QPlainTextEdit* editor_;
    QString wrapOffCaption_;
    QString wrapOnCaption_;
    bool wrapping_ = true;
};

// A text file to read into an editor, or to write an editor's text to, asked over owner.
inline const QString kTextFileFilter = QStringLiteral("文本文档 (*.txt)");
platform::FileQuestion openTextFileQuestion(QWidget* owner);
platform::FileQuestion saveTextFileQuestion(QWidget* owner);

} // namespace book
