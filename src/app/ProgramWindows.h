// The composition root: makes the store's two long-lived queries, the title list, the panes and
// the main window at start-up, and each other window once at its first use; hands each what it
// needs, and connects the commands that cross from one window to another.
#pragma once

#include "Main.h"
#include "book/ReadingFont.h"
#include "book/TitleList.h"
#include "store/Query.h"

#include <functional>
#include <memory>

class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm12;
class TForm13;
class TForm14;
class TForm15;
class TForm16;
class TForm17;
class TFullTextForm;

namespace album {
class ThumbnailLink;
}
namespace clipmon {
class ClipboardFollower;
}

namespace platform {
class Clipboard;
class Desktop;
class TickClock;
class Viewers;
}

namespace app {

class HelpWindow;
class PictureCommands;

class ProgramWindows : public TForm1::Closing {
public:
    // Prepares the store, makes the main window (whose creation opens the store that the other
    // windows use) and starts following the clipboard.
    ProgramWindows(const platform::ProgramFolder& folder, platform::TickClock& clock,
                   platform::Clipboard& clipboard);
    ~ProgramWindows() override;

    TForm1& main() { return *form1_; }
    TForm5& reading();  // made at the first call
    // Made at the first call; the clipboard's history is followed from the start either way.
    TForm8& clipboardMonitor();
    TForm14& thumbnails();  // made at the first call, as the album's first request makes it
    PictureCommands& pictureCommands() { return *pictureCommands_; }
    const book::TitleList& titles() const { return titles_; }
    const store::Query& textQuery() const { return textQuery_; }
    const store::Query& pictureQuery() const { return pictureQuery_; }
    HelpWindow& help();
    // Makes each dialog not made yet, as its first use would; for checks that look at every window.
    void makeRemainingDialogs();
    // Where the help command learns whether the desktop has a viewer for the help file.
    void setViewers(std::unique_ptr<platform::Viewers> viewers);

private:
    void prepareStore(const platform::ProgramFolder& folder);
    void makeDialogs(const platform::ProgramFolder& folder);
    TForm6& overwritePrompt();
    TForm13& saveChangesPrompt();
    TForm2& addEntryDialog();
    TForm3& deleteEntryDialog();
    TForm4& searchTitlesDialog();
    TForm7& addPictureDialog();
    TForm9& deletePictureDialog();
    TForm10& searchPicturesDialog();
    TForm12& aboutDialog();
    TForm15& exportBookDialog();
    TForm16& importBookDialog();
    TForm17& exportAlbumDialog();
    TFullTextForm& fullTextDialog();
    std::function<void()> refreshTitles();  // what an import or export runs after it
    void connectBookCommands();
    void connectAlbumCommands();
    void connectMainCommands();
    void writeSettings() override;
    void leaveClipboard() override;

    store::Query textQuery_;     // over 文本
    store::Query pictureQuery_;  // over 图片
    book::TitleList titles_;
    const platform::ProgramFolder folder_;
    std::unique_ptr<platform::Desktop> desktop_;  // outlives the windows that use it
    std::unique_ptr<platform::Viewers> viewers_;  // likewise
    std::unique_ptr<TForm1> form1_;
    PictureCommands* pictureCommands_ = nullptr;  // belongs to the main window
    TForm2* form2_ = nullptr;  // dialogs belong to the main window; most are made at first use
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    book::ReadingFont readingFont_;  // as read at start, until the reading window is made
    TForm5* form5_ = nullptr;
    TForm6* form6_ = nullptr;
    TForm7* form7_ = nullptr;
    std::unique_ptr<clipmon::ClipboardFollower> clipboardFollower_;  // outlives the monitor
    std::unique_ptr<TForm8> form8_;  // stays on top on its own
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    TForm12* form12_ = nullptr;
    TForm13* form13_ = nullptr;
    std::unique_ptr<album::ThumbnailLink> thumbnails_;
    TForm15* form15_ = nullptr;
    TForm16* form16_ = nullptr;
    TForm17* form17_ = nullptr;
    HelpWindow* help_ = nullptr;  // belongs to the main window
    TFullTextForm* fullText_ = nullptr;
};

} // namespace app
