#include "ProgramWindows.h"

#include "About.h"
#include "HelpWindow.h"
#include "PictureCommands.h"
#include "album/AlbumCommands.h"
#include "album/AlbumPane.h"
#include "album/DeletePIC.h"
#include "album/InsertPIC.h"
#include "album/OutPIC.h"
#include "album/SearchPIC.h"
#include "album/ThumbnailLink.h"
#include "album/View.h"
#include "book/Confirm.h"
#include "book/Delete.h"
#include "book/FullTextSearch.h"
#include "book/Insert.h"
#include "book/Load.h"
#include "book/ReadingFont.h"
#include "book/Save.h"
#include "book/Search.h"
#include "book/TextPane.h"
#include "clipmon/Show.h"
#include "exchange/InTXT.h"
#include "exchange/OutTXT.h"
#include "platform/Desktop.h"
#include "platform/Viewers.h"
#include "skin/Commands.h"
#include "store/FullText.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <cassert>

namespace app {

ProgramWindows::ProgramWindows(const platform::ProgramFolder& folder, platform::TickClock& clock,
                               platform::Clipboard& clipboard)
    : folder_(folder)
{
    prepareStore(folder);
    auto* textPane = new book::TextPane(nullptr, titles_, textQuery_, clipboard);
    // The album pane takes the picture query's after-scroll refresh before the query opens.
    auto* albumPane = new album::AlbumPane(nullptr, pictureQuery_);
    form1_ = std::make_unique<TForm1>(
        TForm1::Parts{folder, clock, textQuery_, pictureQuery_, titles_, *textPane, *albumPane}, *this);
    assert(textPane->parent() && albumPane->parent());
    desktop_ = std::make_unique<platform::SystemDesktop>(folder.wallpaperValues());
    pictureCommands_ = new PictureCommands(
        form1_.get(), {*albumPane, clipboard, *desktop_, folder.wallpaperFile()});
    clipboardFollower_ = std::make_unique<clipmon::ClipboardFollower>(clipboard);
    makeDialogs(folder);
    connectBookCommands();
    connectAlbumCommands();
    connectMainCommands();
    setViewers(std::make_unique<platform::SystemViewers>());
}

ProgramWindows::~ProgramWindows() = default;

// An older store first gains the index the title list is built from, once. One that cannot take
// it (read-only, locked, damaged) opens without it: the queries then report what is wrong. The
// title list's own order is brought up to date when the list is filled.
void ProgramWindows::prepareStore(const platform::ProgramFolder& folder)
{
    // One connection for both steps: each new one reads the whole schema again.
    std::unique_ptr<store::Connection> connection;
    try {
        connection = std::make_unique<store::Connection>(folder.store());
    } catch (const store::StoreError&) {
        return;
    }
    try {
        store::addTitleListIndex(*connection);
    } catch (const store::StoreError&) {
    }
    // Rows written by other tools since the last run join the full-text index.
    try {
        store::fulltext::catchUp(*connection);
    } catch (const store::StoreError&) {
    }
}

namespace {

// The window in slot, made by make at the first call.
template <class Window, class Make>
Window& madeOnce(Window*& slot, Make make)
{
    if (!slot)
        slot = make();
    return *slot;
}

} // namespace

// What every session needs after the main window: the reading font, whose settings file is
// read now so that a broken one is reported at start. The reading window is made at its first
// opening (with the two prompts it uses), the thumbnail window at the album's first request to
// show it, and the other dialogs at their first use, so that start-up does not wait for windows.
void ProgramWindows::makeDialogs(const platform::ProgramFolder& folder)
{
    TForm1& main = *form1_;
    readingFont_ = book::loadReadingFont(folder.settings());
    thumbnails_ = std::make_unique<album::ThumbnailLink>(main.albumPane(), folder);
}

TForm5& ProgramWindows::reading()
{
    return madeOnce(form5_, [this] {
        auto* window = new TForm5(form1_.get(), textQuery_, readingFont_);
        window->setPrompts(&overwritePrompt(), &saveChangesPrompt());
        return window;
    });
}

TForm6& ProgramWindows::overwritePrompt()
{
    return madeOnce(form6_, [this] {
        auto* prompt = new TForm6(form1_.get());
        prompt->setWriter(book::kEntryKind, [this](const QString& path) { reading().writeEditorText(path); });
        prompt->setWriter(book::kPictureKind, [pictures = pictureCommands_](const QString& path) {
            pictures->writeCurrentPicture(path);
        });
        return prompt;
    });
}

TForm13& ProgramWindows::saveChangesPrompt()
{
    return madeOnce(form13_, [this] { return new TForm13(form1_.get()); });
}

TForm2& ProgramWindows::addEntryDialog()
{
    return madeOnce(form2_, [this] {
        auto* dialog = new TForm2(form1_.get(), titles_, textQuery_);
        QObject::connect(dialog, &TForm2::entryAdded, &form1_->textPane(), &book::TextPane::scrollToNewTitle);
        return dialog;
    });
}

TForm3& ProgramWindows::deleteEntryDialog()
{
    return madeOnce(form3_, [this] { return new TForm3(form1_.get(), titles_, textQuery_); });
}

TForm4& ProgramWindows::searchTitlesDialog()
{
    return madeOnce(form4_, [this] { return new TForm4(form1_.get(), titles_, textQuery_); });
}

TForm7& ProgramWindows::addPictureDialog()
{
    return madeOnce(form7_, [this] {
        auto* dialog = new TForm7(form1_.get(), pictureQuery_);
        QObject::connect(dialog, &TForm7::pictureStored, &form1_->albumPane(), &album::AlbumPane::pictureStored);
        return dialog;
    });
}

TForm9& ProgramWindows::deletePictureDialog()
{
    return madeOnce(form9_, [this] { return new TForm9(form1_.get(), pictureQuery_); });
}

TForm10& ProgramWindows::searchPicturesDialog()
{
    return madeOnce(form10_, [this] {
        auto* dialog = new TForm10(form1_.get(), pictureQuery_);
        album::AlbumPane& pane = form1_->albumPane();
        album::ThumbnailLink* thumbnails = thumbnails_.get();
        dialog->setAfterSearch([&pane, thumbnails] {
            pane.syncGrid();
            if (TForm14* window = thumbnails->madeWindow())
                window->reapplyColumns();
        });
        return dialog;
    });
}

TForm12& ProgramWindows::aboutDialog()
{
    return madeOnce(form12_, [this] { return new TForm12(form1_.get(), folder_); });
}

TForm15& ProgramWindows::exportBookDialog()
{
    return madeOnce(form15_, [this] { return new TForm15(refreshTitles(), textQuery_, form1_.get()); });
}

TForm16& ProgramWindows::importBookDialog()
{
    return madeOnce(form16_, [this] { return new TForm16(refreshTitles(), textQuery_, form1_.get()); });
}

TForm17& ProgramWindows::exportAlbumDialog()
{
    return madeOnce(form17_, [this] { return new TForm17(form1_->albumPane(), form1_.get()); });
}

TFullTextForm& ProgramWindows::fullTextDialog()
{
    return madeOnce(fullText_, [this] { return new TFullTextForm(form1_.get(), textQuery_, reading()); });
}

void ProgramWindows::makeRemainingDialogs()
{
    reading();
    addEntryDialog();
    deleteEntryDialog();
    searchTitlesDialog();
    addPictureDialog();
    deletePictureDialog();
    searchPicturesDialog();
    aboutDialog();
    exportBookDialog();
    importBookDialog();
    exportAlbumDialog();
    fullTextDialog();
}

TForm8& ProgramWindows::clipboardMonitor()
{
    if (!form8_)
        form8_ = std::make_unique<TForm8>(*clipboardFollower_);
    return *form8_;
}

TForm14& ProgramWindows::thumbnails()
{
    return thumbnails_->window();
}

std::function<void()> ProgramWindows::refreshTitles()
{
    return [this] { titles_.refresh(textQuery_); };
}

void ProgramWindows::connectBookCommands()
{
    book::TextPane& pane = form1_->textPane();
    QObject::connect(&pane, &book::TextPane::readRequested, &pane,
                     [this](const QString& title) { reading().openEntry(title); });
    QObject::connect(&pane, &book::TextPane::addRequested, &pane, [this] { addEntryDialog().exec(); });
    QObject::connect(&pane, &book::TextPane::deleteRequested, &pane,
                     [this](int position, const QString& question) {
                         TForm3& dialog = deleteEntryDialog();
                         dialog.prepare(position, question);
                         dialog.exec();
                     });
    QObject::connect(&pane, &book::TextPane::searchRequested, &pane, [this] { searchTitlesDialog().exec(); });
    QObject::connect(&pane, &book::TextPane::titleCopied, form1_.get(), [this] {
        clipboardMonitor().showInFront();
        form1_->comeToFront();
    });
}

void ProgramWindows::connectAlbumCommands()
{
    namespace ids = album::commands;
    album::AlbumPane& pane = form1_->albumPane();
    auto on = [&pane](const char* id, auto handler) {
        QObject::connect(skin::command(&pane, id), &QAction::triggered, &pane, handler);
    };
    on(ids::kAdd, [this] { addPictureDialog().exec(); });
    on(ids::kDelete, [this] { deletePictureDialog().deleteCurrentPicture(); });
    on(ids::kSearch, [this] { searchPicturesDialog().exec(); });
    PictureCommands* pictures = pictureCommands_;
    on(ids::kCopyPicture, [pictures] { pictures->copy(); });
    on(ids::kSavePictureAs, [pictures] { pictures->saveAs(); });
    on(ids::kWallpaperCenter, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Center); });
    on(ids::kWallpaperTile, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Tile); });
    on(ids::kWallpaperStretch, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Stretch); });
    on(ids::kWallpaperRestore, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Restore); });
    QObject::connect(pictures, &PictureCommands::copied, form1_.get(), [this] {
        clipboardMonitor().showInFront();
        form1_->comeToFront();
    });
    QObject::connect(pictures, &PictureCommands::overwriteConfirmationNeeded, form1_.get(),
                     [this](const QString& path) { overwritePrompt().confirm(path, book::kPictureKind); });
    QObject::connect(&pane, &album::AlbumPane::mainWindowFrontRequested, form1_.get(), &TForm1::comeToFront);
}

void ProgramWindows::connectMainCommands()
{
    namespace ids = app::commands;
    TForm1* main = form1_.get();
    auto on = [main](const char* id, auto handler) {
        QObject::connect(skin::command(main, id), &QAction::triggered, main, handler);
    };
    on(ids::kImportBook, [this] { importBookDialog().exec(); });
    on(ids::kExportBook, [this] { exportBookDialog().exec(); });
    on(ids::kExportAlbum, [this] { exportAlbumDialog().exec(); });
    on(ids::kClipboardMonitor, [this] { clipboardMonitor().showInFront(); });
    on(ids::kAbout, [this] { aboutDialog().exec(); });
    on(ids::kFullTextSearch, [this] { fullTextDialog().exec(); });
}

void ProgramWindows::writeSettings()
{
    // Unless the reading window was made, the font is still the one read at start.
    book::writeReadingFont(folder_.settings(), form5_ ? form5_->readingFont() : readingFont_);
}

void ProgramWindows::leaveClipboard()
{
    clipboardFollower_->leaveClipboardChain();
}

// Made at its first use: most sessions never show it, and start-up need not wait for it.
HelpWindow& ProgramWindows::help()
{
    if (!help_)
        help_ = new HelpWindow(form1_.get());
    return *help_;
}

void ProgramWindows::setViewers(std::unique_ptr<platform::Viewers> viewers)
{
    viewers_ = std::move(viewers);
    form1_->setOwnHelp([this](const QString& helpFile) {
        return showOwnHelpUnlessViewer(helpFile, *viewers_, help());
    });
}

} // namespace app
