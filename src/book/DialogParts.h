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

namespace book {

// Gives the dialog its caption and fixed client size, and returns the frame panel that fills it.
TsuiForm* makeDialogFrame(QDialog* dialog, int width, int height, const QString& caption);

// The 42 × 42 question-mark picture at the given place.
QLabel* makeQuestionPicture(QWidget* parent, int left, int top);

// Asks for a file; an empty text when the user cancels.
using FileChooser = std::function<QString()>;
inline const QString kTextFileFilter = QStringLiteral("文本文档 (*.txt)");
FileChooser openTextFileChooser(QWidget* parent);
FileChooser saveTextFileChooser(QWidget* parent);

} // namespace book
