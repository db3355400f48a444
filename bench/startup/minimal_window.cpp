// The reference of the start-up benchmark: the least a Qt program does to show a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(640, 478);
    window.show();
    return application.exec();
}
