#include "HelpWindow.h"

#include "Startup.h"
#include "platform/Viewers.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiDialog.h"
#include "skin/TsuiEdits.h"
#include "skin/TsuiForm.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBrowser>
#include <QTreeWidget>

namespace app {

namespace {
const QString kFindCaption = QStringLiteral("查找：");
const QString kNextCaption = QStringLiteral("下一处");
const QString kPreviousCaption = QStringLiteral("上一处");
const QString kNotFound = QStringLiteral("本页中找不到“%1”");
const QString kContentsFile = QStringLiteral("Help.hhc");
constexpr int kGap = 6;
constexpr int kFindRowHeight = 22;
constexpr int kContentsWidth = 200;
constexpr int kPageRole = Qt::UserRole;
} // namespace

QUrl helpPageUrl(const QString& page)
{
    return QUrl(QStringLiteral("qrc") + kHelpResourceFolder + u'/' + page);
}

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    suiForm1 = new TsuiForm(this);
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiMax,
                                  TsuiTitleBarBtnType::suiMin});
    suiForm1->setSizeable(true);
    suiForm1->setCaption(kCaption);
    resize(suiForm1->windowSizeFor(QSize(kClientWidth, kClientHeight)));
    setMinimumSize(320, 200);

    findLabel_ = new QLabel(kFindCaption, suiForm1);
    findField_ = new TsuiEdit(suiForm1);
    nextButton_ = new TsuiButton(suiForm1);
    nextButton_->setText(kNextCaption);
    previousButton_ = new TsuiButton(suiForm1);
    previousButton_->setText(kPreviousCaption);
    findNote_ = new QLabel(suiForm1);
    contents_ = new QTreeWidget(suiForm1);
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);
    browser_ = new QTextBrowser(suiForm1);
    browser_->setOpenExternalLinks(true);

    connect(findField_, &QLineEdit::returnPressed, this, [this] { findInPage(findField_->text()); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { findInPage(findField_->text()); });
    connect(previousButton_, &QPushButton::clicked, this, [this] { findInPage(findField_->text(), true); });
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { topicChosen(item); });
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::pageShown);
    fillContents();
}

void HelpWindow::fillContents()
{
    registerProgramResources();
    QFile file(kHelpResourceFolder + u'/' + kContentsFile);
    const std::vector<HelpTopic> topics =
        file.open(QIODevice::ReadOnly) ? readHelpContents(file.readAll()) : std::vector<HelpTopic>{};
    std::vector<QTreeWidgetItem*> parents;  // the last item of each depth
    for (const HelpTopic& topic : topics) {
        const auto depth = std::min(size_t(topic.depth), parents.size());
        parents.resize(depth);
        auto* item = parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        item->setText(0, topic.name);
        item->setData(0, kPageRole, helpPageUrl(topic.page));
        parents.push_back(item);
    }
    contents_->expandAll();
}

void HelpWindow::showHelp()
{
    if (browser_->source().isEmpty() && contents_->topLevelItemCount() > 0)
        contents_->setCurrentItem(contents_->topLevelItem(0));
    if (!placed_) {
        skin::centreWindowOn(this, skin::ownerArea(parentWidget()));
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::topicChosen(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QUrl page = item->data(0, kPageRole).toUrl();
    if (page.isValid() && page != browser_->source())
        browser_->setSource(page);
}

// A page reached by a link marks its topic in the contents list.
void HelpWindow::pageShown(const QUrl& page)
{
    findNote_->clear();
    const QUrl withoutFragment = page.adjusted(QUrl::RemoveFragment);
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        if ((*it)->data(0, kPageRole).toUrl() == withoutFragment) {
            const QSignalBlocker quiet(contents_);
            contents_->setCurrentItem(*it);
            return;
        }
    }
}

bool HelpWindow::findInPage(const QString& text, bool backward)
{
    findNote_->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags))
        return true;
    // Once round from the other end of the page.
    QTextCursor cursor = browser_->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(cursor);
    if (browser_->find(text, flags))
        return true;
    findNote_->setText(kNotFound.arg(text));
    return false;
}

QUrl HelpWindow::currentPage() const
{
    return browser_->source();
}

QString HelpWindow::pageText() const
{
    return browser_->toPlainText();
}

QString HelpWindow::findNote() const
{
    return findNote_->text();
}

void HelpWindow::resizeEvent(QResizeEvent*)
{
    const int top = suiForm1->clientTop() + kGap;
    const int width = suiForm1->width();
    int left = kGap;
    findLabel_->setGeometry(left, top, findLabel_->sizeHint().width(), kFindRowHeight);
    left += findLabel_->width() + 2;
    findField_->setGeometry(left, top, 180, kFindRowHeight);
    left += findField_->width() + kGap;
    nextButton_->setGeometry(left, top, 64, kFindRowHeight);
    left += nextButton_->width() + kGap;
    previousButton_->setGeometry(left, top, 64, kFindRowHeight);
    left += previousButton_->width() + kGap;
    findNote_->setGeometry(left, top, std::max(0, width - left - kGap), kFindRowHeight);
    const int paneTop = top + kFindRowHeight + kGap;
    const int paneHeight = std::max(0, suiForm1->height() - paneTop - kGap);
    const int contentsWidth = std::min(kContentsWidth, width / 3);
    contents_->setGeometry(kGap, paneTop, contentsWidth, paneHeight);
    browser_->setGeometry(2 * kGap + contentsWidth, paneTop,
                          std::max(0, width - contentsWidth - 3 * kGap), paneHeight);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

bool showOwnHelpUnlessViewer(const QString& helpFile, const platform::Viewers& viewers, HelpWindow& window)
{
    if (QFileInfo(helpFile).isFile() && platform::hasViewerForAny(viewers, platform::kHelpFileTypes))
        return false;
    window.showHelp();
    return true;
}

} // namespace app
