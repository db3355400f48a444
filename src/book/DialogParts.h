// Small pieces the materials-book windows share: the wrap toggle of an entry editor and the
// text-file choosers.
#pragma once

#include <QString>
#include <functional>

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

// Asks for a file; an empty text when the user cancels.
using FileChooser = std::function<QString()>;
inline const QString kTextFileFilter = QStringLiteral("文本文档 (*.txt)");
FileChooser openTextFileChooser(QWidget* parent);
FileChooser saveTextFileChooser(QWidget* parent);

} // namespace book
