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
#include "book/FullTextSearch.h"
#include "book/Insert.h"
#include "book/Load.h"
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
    startTitleFetch(folder);
    auto* textPane = new book::TextPane(nullptr, titles_, textQuery_, clipboard);
    // The album pane takes the picture query's after-scroll refresh before the query opens.
    auto* albumPane = new album::AlbumPane(nullptr, pictureQuery_);
    form1_ = std::make_unique<TForm1>(
        TForm1::Parts{folder, clock, textQuery_, pictureQuery_, titles_, *textPane, *albumPane}, *this);
    assert(textPane->parent() && albumPane->parent());
    desktop_ = std::make_unique<platform::SystemDesktop>(folder.wallpaperValues());
    pictureCommands_ = new PictureCommands(
        form1_.get(), {*albumPane, clipboard, *desktop_, folder.wallpaperFile()});
    form8_ = std::make_unique<TForm8>(clipboard);
    makeDialogs(folder);
    connectBookCommands();
    connectAlbumCommands();
    connectMainCommands();
    setViewers(std::make_unique<platform::SystemViewers>());
}

ProgramWindows::~ProgramWindows() = default;

// The title list's rows are fetched on a thread of their own while the windows are built; the
// text query's open() in the main window's creation takes them (or reports the store's error)
// in its turn. An older store first gains the list's index, once. One that cannot take it
// (read-only, locked, damaged) opens without it: the queries then report what is wrong.
void ProgramWindows::startTitleFetch(const platform::ProgramFolder& folder)
{
    try {
        store::addTitleListIndex(folder.store());
    } catch (const store::StoreError&) {
    }
    // Rows written by other tools since the last run join the full-text index.
    try {
        store::fulltext::catchUp(folder.store());
    } catch (const store::StoreError&) {
    }
    textQuery_.setStorePath(folder.store());
    textQuery_.setStatement(store::statements::allTitles());
    textQuery_.prefetch();
}

// The working windows after the main window, in their fixed order.
void ProgramWindows::makeDialogs(const platform::ProgramFolder& folder)
{
    TForm1& main = *form1_;
    album::AlbumPane& albumPane = main.albumPane();
    const exchange::RefreshTitles refreshTitles = [this] { titles_.refresh(textQuery_); };
    form2_ = new TForm2(&main, titles_, textQuery_);
    form3_ = new TForm3(&main, titles_, textQuery_);
    form4_ = new TForm4(&main, titles_, textQuery_);
    form5_ = new TForm5(&main, textQuery_, folder);
    form6_ = new TForm6(&main);
    form7_ = new TForm7(&main, pictureQuery_);
    form9_ = new TForm9(&main, pictureQuery_);
    form10_ = new TForm10(&main, pictureQuery_);
    form12_ = new TForm12(&main, folder);
    form13_ = new TForm13(&main);
    form14_ = album::makeThumbnailWindow(albumPane, folder);
    form15_ = new TForm15(refreshTitles, textQuery_, &main);
    form16_ = new TForm16(refreshTitles, textQuery_, &main);
    form17_ = new TForm17(albumPane, &main);
    fullText_ = new TFullTextForm(&main, textQuery_, *form5_);
}

void ProgramWindows::connectBookCommands()
{
    book::TextPane& pane = form1_->textPane();
    QObject::connect(&pane, &book::TextPane::readRequested, form5_, &TForm5::openEntry);
    QObject::connect(&pane, &book::TextPane::addRequested, form2_, &QDialog::exec);
    QObject::connect(&pane, &book::TextPane::deleteRequested, form3_,
                     [this](int position, const QString& question) {
                         form3_->prepare(position, question);
                         form3_->exec();
                     });
    QObject::connect(&pane, &book::TextPane::searchRequested, form4_, &QDialog::exec);
    QObject::connect(&pane, &book::TextPane::titleCopied, form1_.get(), [this] {
        form8_->showInFront();
        form1_->comeToFront();
    });
    QObject::connect(form2_, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    form6_->setWriter(book::kEntryKind, [this](const QString& path) { form5_->writeEditorText(path); });
    form5_->setPrompts(form6_, form13_);
}

void ProgramWindows::connectAlbumCommands()
{
    namespace ids = album::commands;
    album::AlbumPane& pane = form1_->albumPane();
    auto on = [&pane](const char* id, auto receiver, auto handler) {
        QObject::connect(skin::command(&pane, id), &QAction::triggered, receiver, handler);
    };
    on(ids::kAdd, form7_, [this] { form7_->exec(); });
    on(ids::kDelete, form9_, &TForm9::deleteCurrentPicture);
    on(ids::kSearch, form10_, [this] { form10_->exec(); });
    PictureCommands* pictures = pictureCommands_;
    on(ids::kCopyPicture, pictures, &PictureCommands::copy);
    on(ids::kSavePictureAs, pictures, &PictureCommands::saveAs);
    on(ids::kWallpaperCenter, pictures, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Center); });
    on(ids::kWallpaperTile, pictures, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Tile); });
    on(ids::kWallpaperStretch, pictures, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Stretch); });
    on(ids::kWallpaperRestore, pictures, [pictures] { pictures->setWallpaper(album::WallpaperStyle::Restore); });
    QObject::connect(pictures, &PictureCommands::copied, form1_.get(), [this] {
        form8_->showInFront();
        form1_->comeToFront();
    });
    QObject::connect(pictures, &PictureCommands::overwriteConfirmationNeeded, form6_,
                     [this](const QString& path) { form6_->confirm(path, book::kPictureKind); });
    form6_->setWriter(book::kPictureKind,
                      [pictures](const QString& path) { pictures->writeCurrentPicture(path); });

    QObject::connect(form7_, &TForm7::pictureStored, &pane, &album::AlbumPane::pictureStored);
    TForm14* thumbnails = form14_.get();
    QObject::connect(&pane, &album::AlbumPane::mainWindowFrontRequested, form1_.get(), &TForm1::comeToFront);
    form10_->setAfterSearch([&pane, thumbnails] {
        pane.syncGrid();
        thumbnails->reapplyColumns();
    });
}

void ProgramWindows::connectMainCommands()
{
    namespace ids = app::commands;
    TForm1* main = form1_.get();
    auto on = [main](const char* id, QObject* receiver, auto handler) {
        QObject::connect(skin::command(main, id), &QAction::triggered, receiver, handler);
    };
    on(ids::kImportBook, form16_, [this] { form16_->exec(); });
    on(ids::kExportBook, form15_, [this] { form15_->exec(); });
    on(ids::kExportAlbum, form17_, [this] { form17_->exec(); });
    on(ids::kClipboardMonitor, form8_.get(), [this] { form8_->showInFront(); });
    on(ids::kAbout, form12_, [this] { form12_->exec(); });
    on(ids::kFullTextSearch, fullText_, [this] { fullText_->exec(); });
}

void ProgramWindows::writeSettings()
{
    form5_->writeSettings(folder_.settings());
}

void ProgramWindows::leaveClipboard()
{
    form8_->leaveClipboardChain();
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
