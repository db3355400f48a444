// The theme component: controls whose style is FromThemeFile draw from the theme file it opened.
#pragma once

#include "Style.h"
#include "ThemeFileReader.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <memory>

// A component that opens a theme file; controls with style FromThemeFile and this theme as
// their FileTheme draw from it.
class TsuiFileTheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE setThemeFile)
public:
    explicit TsuiFileTheme(QObject* owner = nullptr);
    ~TsuiFileTheme() override;

    const QString& ThemeFile() const { return themeFile_; }
    // Opens the file at path, or a file of the same name in the program's own folder. A path
    // equal to the current one, a missing file or a file that breaks the format changes nothing.
    void setThemeFile(const QString& path);
    bool isOpened() const { return reader_ != nullptr; }
    const TsuiThemeFileReader* reader() const { return reader_.get(); }

    // The entry of the style table position's name: colour and integer from the integer
    // entries (-1 when absent), boolean from the byte entries (false when absent), picture from
    // the picture entries (whole with count 0, else frame index of count).
    TColor color(int pos) const;
    int integer(int pos) const;
    bool boolean(int pos) const;
    void bitmap(int pos, QImage* target, int index = 0, int count = 0) const;

signals:
    // Raised from the destructor, while the theme is still whole: users drop the reference.
    void destroying(TsuiFileTheme* theme);

private:
    void reapplyToOwnerControls();

    QString themeFile_;
    std::unique_ptr<TsuiThemeFileReader> reader_;
};
