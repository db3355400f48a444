// The reading window's font as the settings file keeps it, read at start-up whether or not the
// window is ever made, and written back when the program ends.
#pragma once

#include <QString>
#include <QStringList>

namespace book {

struct ReadingFont {
    static constexpr int kDefaultSize = 9;
    static QString defaultName();

    // As the window's pickers hold it: a family of the screen in the screen's spelling, empty
    // when the screen has none of that name; a size that family offers, 0 when it does not.
    QString name = defaultName();
    int size = kDefaultSize;
    // False when the file broke off before a valid size: the editor keeps its default font
    // while the pickers show what was read.
    bool forEditor = true;

    // The three lines of the settings file.
    QStringList settingsLines() const;
};

// Reads the file by line position: the name from the 10th character of line 2, the size from
// the 10th character of line 3. No file or an empty one leaves font as it is. A size that is no
// number is thrown as the message to report, with font holding the name read before it.
void readReadingFont(const QString& path, ReadingFont& font);

// The font of path, a broken file reported as an error; for the start of the program.
ReadingFont loadReadingFont(const QString& path);

// Replaces the file at path with the font's three lines.
void writeReadingFont(const QString& path, const ReadingFont& font);

} // namespace book
