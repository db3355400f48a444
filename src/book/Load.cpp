#include "Load.h"

#include "Confirm.h"
#include "EntryRows.h"
#include "skin/TsuiFontComboBox.h"
#include "ReadingFont.h"
#include "Save.h"
#include "platform/ProgramFolder.h"
#include "text/TextFile.h"
#include "skin/Controls.h"
#include "skin/ProgressSteps.h"
#include "skin/Messages.h"
#include "skin/TsuiDialog.h"
#include "skin/TsuiMessageDialog.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QTextBlock>
#include <QTimer>
#include <QTextCursor>
#include <algorithm>

namespace {
const QString kWrapOff = QStringLiteral("不换行");
const QString kWrapOn = QStringLiteral("换行");
const QString kEmptyEntry = QStringLiteral("本篇资料不能修改为空内容！");
const QString kSaved = QStringLiteral("已成功保存对本篇资料的修改！");
constexpr int kEditorTop = 72;
} // namespace

TForm5::TForm5(QWidget* owner, store::Query& textQuery, const platform::ProgramFolder& folder)
    : TForm5(owner, textQuery, book::loadReadingFont(folder.settings()))
{
}

TForm5::TForm5(QWidget* owner, store::Query& textQuery, const book::ReadingFont& font)
    : QDialog(owner), textQuery_(textQuery)
{
    setWindowTitle(QStringLiteral("读取"));
    setModal(true);
    suiForm1 = new TsuiForm(this);
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose, TsuiTitleBarBtnType::suiMax});
    suiForm1->setSizeable(true);
    resize(suiForm1->windowSizeFor(QSize(530, 357)));
    setMinimumWidth(150);

    const struct { int left, width; const char* caption; } buttons[] = {
        {24, 104, "重新选择内容"}, {136, 104, "保存至数据库"}, {248, 92, "另存为文件"},
        {348, 72, "不换行"}, {428, 72, "关闭"}};
    TsuiButton** fields[] = {&suiButton1, &suiButton2, &suiButton3, &suiButton4, &suiButton5};
    for (int i = 0; i < 5; ++i) {
        *fields[i] = new TsuiButton(QString::fromUtf8(buttons[i].caption), suiForm1);
        (*fields[i])->setGeometry(buttons[i].left, 6, buttons[i].width, 25);
        (*fields[i])->setAutoDefault(false);
    }
    Bevel1 = new QFrame(suiForm1);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    suiFontComboBox1 = new TsuiFontComboBox(suiForm1);
    suiFontComboBox1->setGeometry(24, 42, 144, 22);
    suiFontSizeComboBox1 = new TsuiFontSizeComboBox(suiForm1);
    suiFontSizeComboBox1->setGeometry(176, 42, 64, 22);
    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setGeometry(248, 47, 252, 12);

    suiMemo1 = new TsuiMemo(suiForm1);
    suiMemo1->setFont(QFont(book::ReadingFont::defaultName(), book::ReadingFont::kDefaultSize));
    wrapToggle_ = std::make_unique<book::WrapToggle>(suiButton4, suiMemo1, kWrapOff, kWrapOn);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->hide();
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiInformation);

    suiForm1->moveContentBelowBars();

    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    connect(suiButton1, &QPushButton::clicked, this, &TForm5::suiButton1Click);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    connect(suiButton2, &QPushButton::clicked, this, &TForm5::suiButton2Click);
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
    connect(suiButton3, &QPushButton::clicked, this, &TForm5::suiButton3Click);
    suiButton4->setObjectName(QStringLiteral("suiButton4"));
    connect(suiButton4, &QPushButton::clicked, this, &TForm5::suiButton4Click);
    suiButton5->setObjectName(QStringLiteral("suiButton5"));
    connect(suiButton5, &QPushButton::clicked, this, &TForm5::suiButton5Click);
    connect(suiMemo1, &QPlainTextEdit::textChanged, this, &TForm5::editorChanged);
    FormCreate(font);
    connect(suiFontComboBox1, &QComboBox::currentIndexChanged, this, &TForm5::suiFontComboBox1Change);
    connect(suiFontSizeComboBox1, &QComboBox::currentIndexChanged, this,
            &TForm5::suiFontSizeComboBox1Change);
}

void TForm5::setPrompts(TForm6* overwrite, TForm13* saveChanges)
{
    overwrite_ = overwrite;
    saveChanges_ = saveChanges;
}

TForm5::~TForm5() = default;

// The pickers take the font as read; the editor takes it unless the file broke off.
void TForm5::FormCreate(const book::ReadingFont& font)
{
    suiFontComboBox1->setFontName(font.name);
    suiFontSizeComboBox1->setFontName(suiFontComboBox1->fontName());
    suiFontSizeComboBox1->setFontSize(font.size);
    if (!font.forEditor)
        return;
    QFont editorFont = suiMemo1->font();
    if (!suiFontComboBox1->fontName().isEmpty())
        editorFont.setFamily(suiFontComboBox1->fontName());
    if (suiFontSizeComboBox1->fontSize() > 0)
        editorFont.setPointSize(suiFontSizeComboBox1->fontSize());
    suiMemo1->setFont(editorFont);
}

book::ReadingFont TForm5::readingFont() const
{
    book::ReadingFont font;
    font.name = suiFontComboBox1->fontName();
    font.size = suiFontSizeComboBox1->fontSize();
    return font;
}

QStringList TForm5::settingsLines() const
{
    return readingFont().settingsLines();
}

void TForm5::writeSettings(const QString& path) const
{
    book::writeReadingFont(path, readingFont());
}

// Each opening stands centred on the main window, in the size the window has now.
void TForm5::showEvent(QShowEvent* event)
{
    if (!isMaximized())
        skin::centreWindowOn(this, skin::ownerArea(parentWidget()));
    QDialog::showEvent(event);
}

// The frame panel has followed the window: the line and the editor follow the panel.
void TForm5::resizeEvent(QResizeEvent*)
{
    const int top = suiForm1->clientTop();
    Bevel1->setGeometry(0, top + 34, suiForm1->width(), 2);
    suiMemo1->setGeometry(4, top + kEditorTop, suiForm1->width() - 8,
                          suiForm1->height() - top - kEditorTop - 4);
}

void TForm5::editorChanged()
{
    suiButton2->setEnabled(true);
    modified_ = true;
}

QString TForm5::entryTitle() const
{
    return suiEdit1->text();
}

void TForm5::prepareEntry(const QString& title)
{
    suiMemo1->setPlainText(book::textOfLines(book::readEntry(textQuery_, title)));
    setWindowTitle(QStringLiteral("读取《") + title + QStringLiteral("》"));
    suiEdit1->setText(title);
    suiButton2->setEnabled(false);
    modified_ = false;
    // The user starts typing in the editor.
    suiMemo1->setFocus();
}

void TForm5::openEntry(const QString& title)
{
    if (skin::guarded([&] { prepareEntry(title); }))
        exec();
}

void TForm5::prepareEntryAt(const QString& title, qint64 line, qsizetype start, qsizetype length)
{
    prepareEntry(title);
    const QTextBlock block = suiMemo1->document()->findBlockByNumber(
        int(std::clamp<qint64>(line, 0, suiMemo1->document()->blockCount() - 1)));
    QTextCursor cursor(block);
    const int inBlock = int(std::clamp<qsizetype>(start, 0, block.length() - 1));
    cursor.setPosition(block.position() + inBlock);
    cursor.setPosition(block.position() + int(std::min<qsizetype>(inBlock + length, block.length() - 1)),
                       QTextCursor::KeepAnchor);
    suiMemo1->setTextCursor(cursor);
    suiMemo1->setFocus();
    // The editor has its final size only once the window is shown.
    QTimer::singleShot(0, suiMemo1, [memo = suiMemo1] { memo->ensureCursorVisible(); });
}

void TForm5::openEntryAt(const QString& title, qint64 line, qsizetype start, qsizetype length)
{
    if (skin::guarded([&] { prepareEntryAt(title, line, start, length); }))
        exec();
}

void TForm5::suiButton1Click()
{
    skin::guarded([this] {
        const QString path = fileChooser_->choose(book::openTextFileQuestion(this));
        if (path.isEmpty())
            return;
        suiMemo1->setPlainText(book::editorTextOfFile(path));
        suiMemo1->setFocus();
    });
}

// Refuses an empty editor; otherwise replaces the entry's rows. True when the entry was saved.
bool TForm5::save()
{
    const QStringList lines = book::linesOfText(suiMemo1->toPlainText());
    if (lines.isEmpty()) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kEmptyEntry);
        return false;
    }
    const bool saved = skin::guarded([&] {
        skin::ProgressBarSteps progress(suiProgressBar1);
        book::replaceEntry(textQuery_, entryTitle(), lines, progress);
    });
    if (!saved)
        return false;
    modified_ = false;
    suiMessageDialog1->ShowModal(TsuiIconType::suiInformation, kSaved);
    suiProgressBar1->hide();
    suiButton2->setEnabled(false);
    return true;
}

void TForm5::suiButton2Click()
{
    save();
}

QString TForm5::textFilePath(const QString& chosen)
{
    const QString name = QFileInfo(chosen).fileName();
    const QString ending = name.right(4);
    if (ending == QStringLiteral(".txt") || ending == QStringLiteral(".TXT"))
        return chosen;
    return chosen + QStringLiteral(".txt");
}

void TForm5::writeEditorText(const QString& path) const
{
    QString text = suiMemo1->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    textfile::writeBytes(path, textfile::encode(text));
}

void TForm5::suiButton3Click()
{
    skin::guarded([this] {
        const QString chosen = fileChooser_->choose(book::saveTextFileQuestion(this));
        if (chosen.isEmpty())
            return;
        const QString path = textFilePath(chosen);
        if (QFileInfo::exists(path) && overwrite_)
            overwrite_->confirm(path, book::kEntryKind);
        else
            writeEditorText(path);
    });
}

void TForm5::suiButton4Click()
{
    wrapToggle_->toggle();
}

void TForm5::suiFontComboBox1Change()
{
    const int position = suiFontSizeComboBox1->currentIndex();
    suiFontSizeComboBox1->setFontName(suiFontComboBox1->fontName());
    if (position >= 0)
        suiFontSizeComboBox1->setCurrentIndex(std::min(position, suiFontSizeComboBox1->count() - 1));
    QFont font = suiMemo1->font();
    font.setFamily(suiFontComboBox1->fontName());
    if (suiFontSizeComboBox1->fontSize() > 0)
        font.setPointSize(suiFontSizeComboBox1->fontSize());
    suiMemo1->setFont(font);
}

void TForm5::suiFontSizeComboBox1Change()
{
    if (suiFontSizeComboBox1->fontSize() <= 0)
        return;
    QFont font = suiMemo1->font();
    font.setPointSize(suiFontSizeComboBox1->fontSize());
    suiMemo1->setFont(font);
}

// With unsaved changes the save-changes prompt decides: save and close, close, or stay.
bool TForm5::mayClose()
{
    if (!modified_ || !saveChanges_)
        return true;
    switch (saveChanges_->ask()) {
    case TForm13::Answer::Yes:
        save();
        return true;
    case TForm13::Answer::No:
        return true;
    case TForm13::Answer::Cancel:
        break;
    }
    return false;
}

void TForm5::finishClose()
{
    suiProgressBar1->hide();
    suiMemo1->setFocus();
}

void TForm5::suiButton5Click()
{
    close();
}

void TForm5::closeEvent(QCloseEvent* event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    finishClose();
    QDialog::reject();
    event->accept();
}

void TForm5::reject()
{
    if (!mayClose())
        return;
    finishClose();
    QDialog::reject();
}
