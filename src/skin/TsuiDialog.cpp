#include "TsuiDialog.h"

#include "Controls.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>

TsuiDialog::TsuiDialog(QWidget* owner, int width, int height, const QString& caption,
                       Placement placement)
    : QDialog(owner), placement_(placement)
{
    setWindowTitle(caption);
    setFixedSize(width, height);
    setModal(true);
    suiForm1 = new TsuiForm(this);
    suiForm1->setGeometry(0, 0, width, height);
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
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    picture->setPixmap(icon.pixmap(42, 42));
    picture->setGeometry(left, top, 42, 42);
    return picture;
}

} // namespace skin
