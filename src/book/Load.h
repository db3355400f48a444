// The reading window: one entry in the entry editor, to read, change and save back, to replace
// from a text file or to write to one; it also carries the reading font and its settings file.
#pragma once

#include "DialogParts.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QFrame;
class TsuiButton;
class TsuiEdit;
class TsuiForm;
class TsuiMemo;
class TsuiMessageDialog;
class TsuiProgressBar;
class TsuiFontComboBox;
class TsuiFontSizeComboBox;
class TForm6;
class TForm13;

namespace book {
struct ReadingFont;
}
namespace platform {
class ProgramFolder;
}
namespace store {
class Query;
}

class TForm5 : public QDialog {
    Q_OBJECT
public:
    // Reads the settings file of the program folder while it is created.
    TForm5(QWidget* owner, store::Query& textQuery, const platform::ProgramFolder& folder);
    // Shows font, read from the settings file before.
    TForm5(QWidget* owner, store::Query& textQuery, const book::ReadingFont& font);
    ~TForm5() override;

    // The prompts are made after this window; until they are set, closing with changes asks
    // nothing and saving over an existing file writes it.
    void setPrompts(TForm6* overwrite, TForm13* saveChanges);
    void setFileChooser(platform::FileChooser& chooser) { fileChooser_ = &chooser; }

    // Fills the editor with the entry and makes the window ready; openEntry also shows it.
    void prepareEntry(const QString& title);
    void openEntry(const QString& title);
    // The same, with the editor scrolled to a line of the entry and length characters of it
    // selected from start (UTF-16 positions).
    void prepareEntryAt(const QString& title, qint64 line, qsizetype start, qsizetype length);
    void openEntryAt(const QString& title, qint64 line, qsizetype start, qsizetype length);

    void suiFontComboBox1Change();
    void suiFontSizeComboBox1Change();

    // The font the pickers hold, and the three lines of the settings file for it.
    book::ReadingFont readingFont() const;
    QStringList settingsLines() const;
    void writeSettings(const QString& path) const;
    // Writes the editor's whole text to path (GB18030, CR LF), replacing the file.
    void writeEditorText(const QString& path) const;
    // The path a save under chosen goes to: ".txt" added unless it ends in ".txt" or ".TXT".
    static QString textFilePath(const QString& chosen);

    bool modified() const { return modified_; }
    QString entryTitle() const;
    TsuiMemo* editor() const { return suiMemo1; }
    TsuiButton* saveButton() const { return suiButton2; }
    TsuiButton* wrapToggle() const { return suiButton4; }
    TsuiFontComboBox* fontNamePicker() const { return suiFontComboBox1; }
    TsuiFontSizeComboBox* fontSizePicker() const { return suiFontSizeComboBox1; }
    TsuiProgressBar* progressBar() const { return suiProgressBar1; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent*) override;
    void reject() override;

private:
    void suiButton1Click();  // 重新选择内容
    void suiButton2Click();  // 保存至数据库
    void suiButton3Click();  // 另存为文件
    void suiButton4Click();  // wrap toggle
    void suiButton5Click();  // 关闭
    void FormCreate(const book::ReadingFont& font);
    bool save();
    bool mayClose();
    void finishClose();
    void editorChanged();

    store::Query& textQuery_;
    platform::FileChooser* fileChooser_ = &platform::dialogFileChooser();
    TForm6* overwrite_ = nullptr;
    TForm13* saveChanges_ = nullptr;
    bool modified_ = false;
    std::unique_ptr<book::WrapToggle> wrapToggle_;

    TsuiForm* suiForm1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
    TsuiButton* suiButton3;
    TsuiButton* suiButton4;
    TsuiButton* suiButton5;
    QFrame* Bevel1;
    TsuiFontComboBox* suiFontComboBox1;
    TsuiFontSizeComboBox* suiFontSizeComboBox1;
    TsuiProgressBar* suiProgressBar1;
    TsuiMemo* suiMemo1;
    TsuiEdit* suiEdit1;  // hidden: the entry's title
    TsuiMessageDialog* suiMessageDialog1;
};
