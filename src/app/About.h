// The About window: a borderless picture with the version, the edition and the maker's two
// addresses. A click on the picture closes it; the address labels open their targets.
#pragma once

#include <QDialog>
#include <QList>
#include <QUrl>
#include <functional>

class QLabel;
class TImage;

namespace platform {
class ProgramFolder;
}

namespace app {

inline const QString kHomepageAddress = QStringLiteral("https://mozhou.app");
inline const QString kMailAddress = QStringLiteral("support@mozhou.app");

// Hands a document or address to the desktop, which opens it with the program registered for
// it. The outcome is not examined: a missing viewer or mail program is the desktop's affair.
using UrlOpener = std::function<void(const QUrl&)>;
void openWithDesktop(const QUrl& target);

QUrl homepageUrl();
QUrl mailUrl();  // "mailto:" followed by the mail address

} // namespace app

class TForm12 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 310;
    static constexpr int kHeight = 220;

    // mainWindow owns the window and is what it is centred on when shown; the picture comes
    // from the program folder's theme pictures.
    TForm12(QWidget* mainWindow, const platform::ProgramFolder& folder,
            app::UrlOpener opener = app::openWithDesktop);

    bool hasPicture() const;
    // The seven labels, in reading order: version caption, version, edition, homepage caption,
    // homepage, mail caption, mail.
    QList<QLabel*> labels() const;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Escape does not close the window: only a click on the picture does.
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FormCreate(const platform::ProgramFolder& folder);
    void Image1Click();
    void Label5Click();
    void Label7Click();
    void centreOnMainWindow();

    QWidget* mainWindow_;
    app::UrlOpener opener_;
    bool pressedOnPicture_ = false;
    TImage* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
};
