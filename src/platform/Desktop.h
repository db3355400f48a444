// The desktop's wallpaper as the program sets it: the three values the program keeps for it
// (tile, style, picture path) and the call that hands a picture to the running desktop.
#pragma once

#include <QString>
#include <vector>

namespace platform {

struct WallpaperValues {
    QString tileWallpaper;   // "1" tiled, else "0"
    QString wallpaperStyle;  // "2" stretched, else "0"
    QString wallPaper;       // the picture's full path; empty for no wallpaper
    bool operator==(const WallpaperValues&) const = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Keeps the three values; false when they cannot be kept (nothing is written then).
    virtual bool writeValues(const WallpaperValues& values) = 0;
    virtual WallpaperValues values() const = 0;
    // Makes path (empty: none) the running desktop's wallpaper, placed as the values kept last
    // say. The outcome is the desktop's affair and is not examined.
    virtual void setWallpaper(const QString& path) = 0;
};

// The values in a small settings file of their own; the wallpaper through the GNOME-family
// settings tool (gsettings) where it is installed, else through feh, else nowhere.
class SystemDesktop : public Desktop {
public:
    explicit SystemDesktop(QString valuesFile) : valuesFile_(std::move(valuesFile)) {}
    bool writeValues(const WallpaperValues& values) override;
    WallpaperValues values() const override;
    void setWallpaper(const QString& path) override;

private:
    QString valuesFile_;
};

// Records what it is asked, for tests.
class FakeDesktop : public Desktop {
public:
    bool writeValues(const WallpaperValues& values) override
    {
        values_ = values;
        return canWrite;
    }
    WallpaperValues values() const override { return values_; }
    void setWallpaper(const QString& path) override { wallpapers.push_back(path); }

    bool canWrite = true;
    std::vector<QString> wallpapers;

private:
    WallpaperValues values_;
};

} // namespace platform
