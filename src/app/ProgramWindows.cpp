#include "ProgramWindows.h"

#include "About.h"
#include "Main.h"
#include "book/Confirm.h"
#include "book/Delete.h"
#include "book/Insert.h"
#include "book/Load.h"
#include "book/Save.h"
#include "book/Search.h"
#include "clipmon/Show.h"
#include "exchange/InTXT.h"
#include "exchange/OutTXT.h"

namespace app {

ProgramWindows::ProgramWindows(platform::TickClock& clock, platform::Clipboard& clipboard)
{
    form1_ = std::make_unique<TForm1>(clock, clipboard);
    TForm1& main = *form1_;
    form2_ = new TForm2(&main, main.titles(), main.textPane(), main.ADOQuery1);
    form3_ = new TForm3(&main, main.titles(), main.ADOQuery1);
    form4_ = new TForm4(&main, main.titles(), main.ADOQuery1);
    form5_ = new TForm5(&main, main.ADOQuery1, main.programFolder());
    form6_ = new TForm6(&main);
    form8_ = std::make_unique<TForm8>(clipboard);
    form12_ = new TForm12(&main);
    form13_ = new TForm13(&main);
    form15_ = new TForm15(main.titles(), main.ADOQuery1, &main);
    form16_ = new TForm16(main.titles(), main.ADOQuery1, &main);

    form6_->setWriter(QStringLiteral("资料"),
                      [this](const QString& path) { form5_->writeEditorText(path); });
    form5_->setPrompts(form6_, form13_);
    TForm1::Windows windows;
    windows.addEntry = form2_;
    windows.deleteEntry = form3_;
    windows.searchTitles = form4_;
    windows.reading = form5_;
    windows.clipboardMonitor = form8_.get();
    windows.about = form12_;
    windows.exportBook = form15_;
    windows.importBook = form16_;
    main.setWindows(windows);
}

ProgramWindows::~ProgramWindows() = default;

} // namespace app
