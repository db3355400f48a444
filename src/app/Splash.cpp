#include "Splash.h"

#include "Startup.h"
#include "skin/Controls.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

TForm11::TForm11() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setFixedSize(310, 190);
    Image1 = new TImage(this, Qt::white);
    Image1->setGeometry(rect());
    FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm11::FormCreate()
{
    Image1->loadFromFile(app::programPath(QDir::currentPath(), QStringLiteral("Themes/Splash.bmp")));
}

bool TForm11::hasPicture() const
{
    return !Image1->picture().isNull();
}
