#include "TsuiDialog.h"

#include "Style.h"
#include "TsuiForm.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

TsuiDialog::TsuiDialog(QWidget* owner, int width, int height, const QString& caption,
                       Placement placement)
    : QDialog(owner), placement_(placement)
{
    setWindowTitle(caption);
    setModal(true);
    suiForm1 = new TsuiForm(this);
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose});
    setFixedSize(width, height);
    suiForm1->layOut();  // the panel has its final size before subclasses place controls on it
}

void TsuiDialog::showEvent(QShowEvent* event)
{
    skin::centreWindowOn(this, placement_ == Placement::ScreenCentre ? skin::screenArea()
                                                                     : skin::ownerArea(parentWidget()));
    QDialog::showEvent(event);
}

void TsuiDialog::done(int result)
{
    FormClose();
    QDialog::done(result);
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

void centreWindowOn(QWidget* window, const QRect& area)
{
    if (!area.isValid())
        return;
    const QSize outer = window->frameGeometry().size();
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

QRect screenArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect ownerArea(const QWidget* owner)
{
    return owner ? owner->window()->frameGeometry() : screenArea();
}

QLabel* makeQuestionPicture(QWidget* parent, int left, int top)
{
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap::fromImage(sliceStrip(skinPicture(QStringLiteral("MSGDLG")), 4, 4)));
    picture->setGeometry(left, top, 42, 42);
    return picture;
}

} // namespace skin
