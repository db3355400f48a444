#include "About.h"

#include "platform/ProgramFolder.h"
#include "skin/Controls.h"
#include "skin/TsuiDialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace app {

void openWithDesktop(const QUrl& target)
{
    QDesktopServices::openUrl(target);
}

QUrl homepageUrl()
{
    return QUrl(kHomepageAddress);
}

QUrl mailUrl()
{
    return QUrl(QStringLiteral("mailto:") + kMailAddress);
}

} // namespace app

namespace {

// A label over the picture. It takes every click on it, so that a click on a label never
// closes the window; a label with an action runs it on a left click.
class AboutLabel : public QLabel {
public:
    AboutLabel(const QString& text, QWidget* parent, QPoint place, std::function<void()> action = {})
        : QLabel(text, parent), action_(std::move(action))
    {
        move(place);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        event->accept();
        if (action_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            action_();
    }

private:
    std::function<void()> action_;
};

QFont labelFont(const QString& family, int pixelSize, bool underline = false)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setUnderline(underline);
    return font;
}

// Transparent text in the given font and colour, sized to its text.
void applyLook(QLabel* label, const QFont& font, const QColor& colour)
{
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(false);
    label->adjustSize();
}

} // namespace

TForm12::TForm12(QWidget* mainWindow, const platform::ProgramFolder& folder,
                 app::UrlOpener opener)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint),
      mainWindow_(mainWindow),
      opener_(std::move(opener))
{
    setModal(true);
    setFixedSize(kWidth, kHeight);
    Image1 = new TImage(this, palette().color(QPalette::Window));
    Image1->setGeometry(rect());

    const QFont song = labelFont(QStringLiteral("宋体"), 13);
    const QFont sansSerif = labelFont(QStringLiteral("MS Sans Serif"), 11);
    const QFont link = labelFont(QStringLiteral("MS Sans Serif"), 11, true);
    Label1 = new AboutLabel(QStringLiteral("版本信息："), this, {32, 136});
    Label2 = new AboutLabel(QStringLiteral("v2.0"), this, {120, 136});
    Label3 = new AboutLabel(QStringLiteral("免费版"), this, {152, 136});
    Label4 = new AboutLabel(QStringLiteral("墨舟主页："), this, {32, 154});
    Label5 = new AboutLabel(app::kHomepageAddress, this, {120, 154}, [this] { Label5Click(); });
    Label6 = new AboutLabel(QStringLiteral("电子邮件："), this, {32, 172});
    Label7 = new AboutLabel(app::kMailAddress, this, {120, 172}, [this] { Label7Click(); });
    for (QLabel* caption : {Label1, Label3, Label4, Label6})
        applyLook(caption, song, Qt::black);
    applyLook(Label2, sansSerif, Qt::black);
    for (QLabel* address : {Label5, Label7}) {
        applyLook(address, link, QColor(0, 0, 255));
        address->setCursor(Qt::PointingHandCursor);
    }
    FormCreate(folder);
}

// The picture is read once, here; without it the labels stand on the plain window colour.
void TForm12::FormCreate(const platform::ProgramFolder& folder)
{
    Image1->loadFromFile(folder.theme(QStringLiteral("About.bmp")));
}

bool TForm12::hasPicture() const
{
    return !Image1->picture().isNull();
}

QList<QLabel*> TForm12::labels() const
{
    return {Label1, Label2, Label3, Label4, Label5, Label6, Label7};
}

void TForm12::showEvent(QShowEvent* event)
{
    centreOnMainWindow();
    QDialog::showEvent(event);
}

void TForm12::centreOnMainWindow()
{
    skin::centreWindowOn(this, skin::ownerArea(mainWindow_));
}

// Clicks that no label took land on the picture; a left click there closes the window.
void TForm12::mousePressEvent(QMouseEvent* event)
{
    pressedOnPicture_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TForm12::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressedOnPicture_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressedOnPicture_ = false;
    event->accept();
    if (click)
        Image1Click();
}

void TForm12::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm12::Image1Click()
{
    close();
}

void TForm12::Label5Click()
{
    opener_(app::homepageUrl());
}

void TForm12::Label7Click()
{
    opener_(app::mailUrl());
}
