// The help window: the help pages built into the program, for desktops that have no viewer for
// the help file. The contents list on the left, the page on the right with working links, and a
// find field above them that searches the page shown.
#pragma once

#include "HelpContents.h"

#include <QUrl>
#include <QWidget>

class QLabel;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class TsuiButton;
class TsuiEdit;
class TsuiForm;

namespace platform {
class Viewers;
}

namespace app {

// Where the built-in pages and their contents file are.
inline const QString kHelpResourceFolder = QStringLiteral(":/help");
QUrl helpPageUrl(const QString& page);  // page relative to the contents file

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("墨舟札记 帮助");
    static constexpr int kClientWidth = 760;
    static constexpr int kClientHeight = 520;

    // owner: the window the help window stays above and is centred on when first shown.
    explicit HelpWindow(QWidget* owner);

    // Shows the window at the first topic, or brings it to the front as it is.
    void showHelp();
    // Finds the text in the page shown from the selection on (backward: towards the start),
    // wrapping round once; false, with a note beside the field, when the page lacks it.
    bool findInPage(const QString& text, bool backward = false);

    QUrl currentPage() const;
    QString pageText() const;
    QTreeWidget* contents() const { return contents_; }
    QTextBrowser* browser() const { return browser_; }
    TsuiEdit* findField() const { return findField_; }
    QString findNote() const;

protected:
    void resizeEvent(QResizeEvent*) override;
    // Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillContents();
    void topicChosen(QTreeWidgetItem* item);
    void pageShown(const QUrl& page);

    TsuiForm* suiForm1;
    QLabel* findLabel_;
    TsuiEdit* findField_;
    TsuiButton* nextButton_;
    TsuiButton* previousButton_;
    QLabel* findNote_;
    QTreeWidget* contents_;
    QTextBrowser* browser_;
    bool placed_ = false;
};

// F1's choice: the help file goes to the desktop when it is there and a viewer is registered
// for its type (false: the caller hands it over); otherwise the help window shows the built-in
// pages (true).
bool showOwnHelpUnlessViewer(const QString& helpFile, const platform::Viewers& viewers, HelpWindow& window);

} // namespace app
