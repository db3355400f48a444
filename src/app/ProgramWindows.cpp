#include "ProgramWindows.h"

#include "About.h"
#include "Main.h"
#include "album/AlbumPane.h"
#include "album/DeletePIC.h"
#include "album/InsertPIC.h"
#include "album/OutPIC.h"
#include "album/SearchPIC.h"
#include "album/View.h"
#include "book/Confirm.h"
#include "book/Delete.h"
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
#include "platform/ProgramFolder.h"

namespace app {

ProgramWindows::ProgramWindows(const platform::ProgramFolder& folder, platform::TickClock& clock,
                               platform::Clipboard& clipboard)
{
    form1_ = std::make_unique<TForm1>(folder, clock, clipboard);
    TForm1& main = *form1_;
    store::Query& textQuery = main.textQuery();
    book::TitleList& titles = main.titles();
    const exchange::RefreshTitles refreshTitles = [&titles, &textQuery] { titles.refresh(textQuery); };
    form2_ = new TForm2(&main, titles, textQuery);
    form3_ = new TForm3(&main, titles, textQuery);
    form4_ = new TForm4(&main, titles, textQuery);
    form5_ = new TForm5(&main, textQuery, folder);
    form6_ = new TForm6(&main);
    form7_ = new TForm7(&main, main.pictureQuery());
    form8_ = std::make_unique<TForm8>(clipboard);
    form9_ = new TForm9(&main, main.pictureQuery());
    form10_ = new TForm10(&main, main.pictureQuery());
    form12_ = new TForm12(&main, folder);
    form13_ = new TForm13(&main);
    form14_ = std::make_unique<TForm14>(main.albumPane(), folder);
    form15_ = new TForm15(refreshTitles, textQuery, &main);
    form16_ = new TForm16(refreshTitles, textQuery, &main);
    form17_ = new TForm17(main.albumPane(), main.pictureQuery(), &main);
    fullText_ = new TFullTextForm(&main, textQuery, *form5_);

    QObject::connect(form2_, &TForm2::entryAdded, &main.textPane(), &book::TextPane::scrollToNewTitle);
    album::AlbumPane& albumPane = main.albumPane();
    QObject::connect(&albumPane, &album::AlbumPane::addRequested, form7_, &QDialog::exec);
    QObject::connect(&albumPane, &album::AlbumPane::deleteRequested, form9_, &TForm9::deleteCurrentPicture);
    QObject::connect(&albumPane, &album::AlbumPane::searchRequested, form10_, &QDialog::exec);
    TForm14* thumbnails = form14_.get();
    album::ThumbnailWindowHooks hooks = albumPane.thumbnailWindowHooks();
    hooks.show = [thumbnails] { thumbnails->showWindow(); };
    hooks.close = [thumbnails] { thumbnails->closeWindow(); };
    hooks.reapplyColumns = [thumbnails] { thumbnails->reapplyColumns(); };
    albumPane.setThumbnailWindowHooks(std::move(hooks));
    form10_->setAfterSearch([&albumPane, thumbnails] {
        albumPane.syncGrid();
        thumbnails->reapplyColumns();
    });
    QObject::connect(&albumPane, &album::AlbumPane::copyRequested, &main, &TForm1::N15Click);
    QObject::connect(&albumPane, &album::AlbumPane::saveAsRequested, &main, &TForm1::MenuItem11Click);
    QObject::connect(&albumPane, &album::AlbumPane::wallpaperRequested, &main, &TForm1::setWallpaper);
    desktop_ = std::make_unique<platform::SystemDesktop>(folder.wallpaperValues());
    main.setDesktop(desktop_.get());
    form6_->setWriter(book::kPictureKind, [&main](const QString& path) { main.writeCurrentPicture(path); });

    form6_->setWriter(book::kEntryKind,
                      [this](const QString& path) { form5_->writeEditorText(path); });
    form5_->setPrompts(form6_, form13_);
    TForm1::Windows windows;
    windows.addEntry = form2_;
    windows.deleteEntry = form3_;
    windows.searchTitles = form4_;
    windows.reading = form5_;
    windows.overwrite = form6_;
    windows.clipboardMonitor = form8_.get();
    windows.about = form12_;
    windows.exportBook = form15_;
    windows.importBook = form16_;
    windows.exportAlbum = form17_;
    windows.fullTextSearch = fullText_;
    main.setWindows(windows);
}

ProgramWindows::~ProgramWindows() = default;

} // namespace app
