#include "DialogParts.h"

#include "skin/TsuiButton.h"

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

platform::FileQuestion openTextFileQuestion(QWidget* owner)
{
    return {platform::FileQuestion::Kind::Open, owner, QStringLiteral("打开"), kTextFileFilter};
}

platform::FileQuestion saveTextFileQuestion(QWidget* owner)
{
    return {platform::FileQuestion::Kind::Save, owner, QStringLiteral("另存为"), kTextFileFilter};
}

} // namespace book
