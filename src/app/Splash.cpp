#include "Splash.h"

#include "platform/ProgramFolder.h"
#include "skin/Controls.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

TForm11::TForm11(const platform::ProgramFolder& folder)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setFixedSize(310, 190);
    Image1 = new TImage(this, Qt::white);
    Image1->setGeometry(rect());
    FormCreate(folder);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm11::FormCreate(const platform::ProgramFolder& folder)
{
    Image1->loadFromFile(folder.theme(QStringLiteral("Splash.bmp")));
}

bool TForm11::hasPicture() const
{
    return !Image1->picture().isNull();
}
