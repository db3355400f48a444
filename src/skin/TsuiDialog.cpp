#include "TsuiDialog.h"

#include "Controls.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>

TsuiDialog::TsuiDialog(QWidget* owner, int width, int height, const QString& caption)
    : QDialog(owner)
{
    setWindowTitle(caption);
    setFixedSize(width, height);
    setModal(true);
    suiForm1 = new TsuiForm(this);
    suiForm1->setGeometry(0, 0, width, height);
}

void TsuiDialog::done(int result)
{
    FormClose();
    QDialog::done(result);
}

namespace skin {

QLabel* makeQuestionPicture(QWidget* parent, int left, int top)
{
    auto* picture = new QLabel(parent);
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    picture->setPixmap(icon.pixmap(42, 42));
    picture->setGeometry(left, top, 42, 42);
    return picture;
}

} // namespace skin
