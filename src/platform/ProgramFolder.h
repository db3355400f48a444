// Where the program keeps its files: the program folder (the working folder at start) and the
// fixed places inside it. Each file name is spelled here and nowhere else.
#pragma once

#include <QString>

namespace platform {

class ProgramFolder {
public:
    explicit ProgramFolder(QString folder) : folder_(std::move(folder)) {}
    // The working folder, which the program is started in.
    static ProgramFolder current();

    const QString& path() const { return folder_; }
    // program folder + "/" + relative part
    QString file(const QString& relative) const { return folder_ + u'/' + relative; }

    QString store() const { return file(QStringLiteral("Data/current.mdb")); }
    // Where compaction writes its copy before the copy takes the store's name.
    QString compactionCopy() const { return file(QStringLiteral("Data/current1.mdb")); }
    QString settings() const { return file(QStringLiteral("quillo.ini")); }
    QString help() const { return file(QStringLiteral("Help.chm")); }
    QString themes() const { return file(QStringLiteral("Themes")); }
    QString theme(const QString& picture) const { return themes() + u'/' + picture; }
    // The picture a wallpaper command hands to the desktop, written anew each time.
    QString wallpaperFile() const { return file(QStringLiteral("Temp/mozhou.bmp")); }
    // The three wallpaper values the program keeps.
    QString wallpaperValues() const { return file(QStringLiteral("desktop.ini")); }

private:
    QString folder_;
};

} // namespace platform
