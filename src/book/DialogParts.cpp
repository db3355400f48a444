#include "DialogParts.h"

#include "skin/Controls.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QStyle>

namespace book {

TsuiForm* makeDialogFrame(QDialog* dialog, int width, int height, const QString& caption)
{
    dialog->setWindowTitle(caption);
    dialog->setFixedSize(width, height);
    dialog->setModal(true);
    auto* frame = new TsuiForm(dialog);
    frame->setGeometry(0, 0, width, height);
    return frame;
}

QLabel* makeQuestionPicture(QWidget* parent, int left, int top)
{
    auto* picture = new QLabel(parent);
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    picture->setPixmap(icon.pixmap(42, 42));
    picture->setGeometry(left, top, 42, 42);
    return picture;
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
