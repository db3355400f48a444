// The theme component: controls whose style is FromThemeFile draw from the theme file it opened.
#pragma once

#include "Style.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <memory>

// A component that opens a theme file; controls with style FromThemeFile and this theme as
// their FileTheme draw from it.
class TsuiFileTheme : public QObject {
    Q_OBJECT
public:
    explicit TsuiFileTheme(QObject* owner = nullptr);
    ~TsuiFileTheme() override;

    const QString& ThemeFile() const { return themeFile_; }
    // Opens the file at path, or a file of the same name in the program's own folder. A path
    // equal to the current one, a missing file or a file that breaks the format changes nothing.
    void setThemeFile(const QString& path);
    bool isOpened() const { return values_ != nullptr; }

    // The entry of the style table entry's name: colour and integer from the integer entries
    // (-1 when absent), boolean from the byte entries (false when absent), picture from the
    // picture entries (whole with count 0, else frame index of count). Before a file is opened:
    // 0, false, no picture.
    TColor color(StyleEntry entry) const;
    int integer(StyleEntry entry) const;
    bool boolean(StyleEntry entry) const;
    void bitmap(StyleEntry entry, QImage* target, int index = 0, int count = 0) const;

signals:
    // Raised when a file has been opened: the controls of the owning window that use this theme
    // resolve their style anew.
    void opened(TsuiFileTheme* theme);
    // Raised from the destructor, while the theme is still whole: users drop the reference.
    void destroying(TsuiFileTheme* theme);

private:
    struct Values;

    QString themeFile_;
    std::unique_ptr<const Values> values_;  // read from the file once, when it is opened
};
