// Every window of the program, created once at start-up in its fixed order and wired together.
#pragma once

#include <memory>

class TForm1;
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

namespace platform {
class Clipboard;
class Desktop;
class ProgramFolder;
class TickClock;
}

namespace app {

class ProgramWindows {
public:
    // Creates the windows in order; the main window first, since its creation fixes the program
    // folder and opens the store that the others use.
    ProgramWindows(const platform::ProgramFolder& folder, platform::TickClock& clock,
                   platform::Clipboard& clipboard);
    ~ProgramWindows();

    TForm1& main() { return *form1_; }
    TForm5& reading() { return *form5_; }
    TForm8& clipboardMonitor() { return *form8_; }
    TForm14& thumbnails() { return *form14_; }

private:
    std::unique_ptr<platform::Desktop> desktop_;  // outlives the main window that uses it
    std::unique_ptr<TForm1> form1_;
    TForm2* form2_ = nullptr;  // dialogs belong to the main window
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    TForm5* form5_ = nullptr;
    TForm6* form6_ = nullptr;
    TForm7* form7_ = nullptr;
    std::unique_ptr<TForm8> form8_;  // stays on top on its own
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    TForm12* form12_ = nullptr;
    TForm13* form13_ = nullptr;
    std::unique_ptr<TForm14> form14_;  // stays on top on its own
    TForm15* form15_ = nullptr;
    TForm16* form16_ = nullptr;
    TForm17* form17_ = nullptr;
    TFullTextForm* fullText_ = nullptr;
};

} // namespace app
