#include "TsuiDialog.h"

#include "Style.h"
#include "TsuiForm.h"

#include <QKeyEvent>
#include <QLabel>

TsuiDialog::TsuiDialog(QWidget* owner, int width, int height, const QString& caption)
    : QDialog(owner)
{
    setWindowTitle(caption);
    setModal(true);
    suiForm1 = new TsuiForm(this);
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose});
    setFixedSize(suiForm1->windowSizeFor(QSize(width, height + suiForm1->clientTop())));
}

void TsuiDialog::done(int result)
{
    FormClose();
    QDialog::done(result);
}

bool TsuiDialog::event(QEvent* event)
{
    if (event->type() == QEvent::Polish && !contentPlaced_) {
        contentPlaced_ = true;
        suiForm1->moveContentBelowBars();
    }
    return QDialog::event(event);
}

void TsuiDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace skin {

QLabel* makeQuestionPicture(QWidget* parent, int left, int top)
{
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap::fromImage(sliceStrip(skinPicture(QStringLiteral("MSGDLG")), 4, 4)));
    picture->setGeometry(left, top, 42, 42);
    return picture;
}

} // namespace skin
