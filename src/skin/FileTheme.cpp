#include "FileTheme.h"

#include "ThemeFileReader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <array>

// Every style table entry of an opened theme, as the controls read it.
struct TsuiFileTheme::Values {
    std::array<qint32, skin::kStyleEntryCount> numbers;  // -1 when the file has no integer entry
    std::array<bool, skin::kStyleEntryCount> flags;      // false when it has no byte entry
    std::array<QImage, skin::kStyleEntryCount> pictures; // null when it has no readable picture

    explicit Values(const TsuiThemeFileReader& reader)
    {
        for (int pos = 1; pos <= skin::kStyleEntryCount; ++pos) {
            const QString name = skin::styleEntryName(skin::StyleEntry(pos));
            const size_t i = size_t(pos - 1);
            numbers[i] = reader.integer(name).value_or(-1);
            flags[i] = reader.byte(name).value_or(0) != 0;
            QImage picture;
            const QByteArray bytes = reader.pictureBytes(name);
            if (!bytes.isEmpty() && picture.loadFromData(bytes, "BMP"))
                pictures[i] = picture.convertToFormat(QImage::Format_RGB32);
        }
    }
};

namespace {

// The array index of an entry; -1 outside the table.
int indexOf(StyleEntry entry)
{
    const int pos = int(entry);
    return pos >= 1 && pos <= skin::kStyleEntryCount ? pos - 1 : -1;
}

} // namespace

TsuiFileTheme::TsuiFileTheme(QObject* owner) : QObject(owner) {}

TsuiFileTheme::~TsuiFileTheme()
{
    emit destroying(this);
}

void TsuiFileTheme::setThemeFile(const QString& path)
{
    if (path == themeFile_)
        return;
    QString found = path;
    if (!QFileInfo(found).isFile()) {
        const QString fileName = path.section(u'/', -1).section(u'\\', -1);
        found = QCoreApplication::applicationDirPath() + u'/' + fileName;
        if (fileName.isEmpty() || !QFileInfo(found).isFile())
            return;
    }
    std::unique_ptr<const Values> values;
    try {
        values = std::make_unique<const Values>(TsuiThemeFileReader(found));
    } catch (const ThemeFileError& error) {
        qWarning("%s: %s", qPrintable(found), error.what());
        return;
    }
    themeFile_ = found;
    values_ = std::move(values);
    emit opened(this);
}

TColor TsuiFileTheme::color(StyleEntry entry) const
{
    return integer(entry);
}

int TsuiFileTheme::integer(StyleEntry entry) const
{
    if (!values_)
        return 0;
    const int i = indexOf(entry);
    return i < 0 ? -1 : values_->numbers[size_t(i)];
}

bool TsuiFileTheme::boolean(StyleEntry entry) const
{
    const int i = indexOf(entry);
    return values_ && i >= 0 && values_->flags[size_t(i)];
}

void TsuiFileTheme::bitmap(StyleEntry entry, QImage* target, int index, int count) const
{
    if (!target)
        return;
    const int i = indexOf(entry);
    const QImage picture = values_ && i >= 0 ? values_->pictures[size_t(i)] : QImage();
    if (count == 0)
        *target = picture;
    else
        skin::SliceStrip(picture, target, count, index);
}
