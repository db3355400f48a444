#include "DialogParts.h"

#include "skin/TsuiButton.h"

#include <QFileDialog>
#include <QPlainTextEdit>

namespace book {

WrapToggle::WrapToggle(TsuiButton* button, QPlainTextEdit* editor, QString wrapOffCaption,
                       QString wrapOnCaption)
    : button_(button), editor_(editor), wrapOffCaption_(std::move(wrapOffCaption)),
      wrapOnCaption_(std::move(wrapOnCaption))
{
    apply();
}

void WrapToggle::toggle()
{
    wrapping_ = !wrapping_;
    apply();
}

// Wrapping needs no horizontal scroll bar; the vertical one is always there.
void WrapToggle::apply()
{
    editor_->setLineWrapMode(wrapping_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setHorizontalScrollBarPolicy(wrapping_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    button_->setText(wrapping_ ? wrapOffCaption_ : wrapOnCaption_);
}

namespace {
QFileDialog::Options fileDialogOptions()
{
    return QFileDialog::DontUseNativeDialog;
}
} // namespace

FileChooser openTextFileChooser(QWidget* parent)
{
    return [parent] {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("打开"), {}, kTextFileFilter,
                                            nullptr, fileDialogOptions());
    };
}

FileChooser saveTextFileChooser(QWidget* parent)
{
    return [parent] {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("另存为"), {}, kTextFileFilter,
                                            nullptr, fileDialogOptions() | QFileDialog::DontConfirmOverwrite);
    };
}

} // namespace book
