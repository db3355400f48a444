#include "FileTheme.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

namespace {

// The value after "name=" as an integer; fallback when it is none.
int entryNumber(const QString& entry, int fallback)
{
    const qsizetype equals = entry.indexOf(u'=');
    if (equals < 0)
        return fallback;
    bool ok = false;
    const int value = entry.mid(equals + 1).toInt(&ok);
    return ok ? value : fallback;
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
    std::unique_ptr<TsuiThemeFileReader> reader;
    try {
        reader = std::make_unique<TsuiThemeFileReader>(found);
    } catch (const ThemeFileError& error) {
        qWarning("%s: %s", qPrintable(found), error.what());
        return;
    }
    themeFile_ = found;
    reader_ = std::move(reader);
    reapplyToOwnerControls();
}

// Every skinned control of the owning window that uses this theme resolves its style anew.
void TsuiFileTheme::reapplyToOwnerControls()
{
    auto* owner = qobject_cast<QWidget*>(parent());
    if (!owner)
        return;
    for (QObject* component : owner->window()->findChildren<QObject*>()) {
        if (!QByteArray(component->metaObject()->className()).startsWith("Tsui"))
            continue;
        if (component->metaObject()->indexOfProperty("FileTheme") < 0)
            continue;
        if (component->property("FileTheme").value<TsuiFileTheme*>() == this)
            component->setProperty("FileTheme", QVariant::fromValue(this));
    }
}

TColor TsuiFileTheme::color(int pos) const
{
    return integer(pos);
}

int TsuiFileTheme::integer(int pos) const
{
    if (!reader_)
        return 0;
    return entryNumber(reader_->integerEntry(skin::styleEntryName(pos)), -1);
}

bool TsuiFileTheme::boolean(int pos) const
{
    if (!reader_)
        return false;
    return entryNumber(reader_->byteEntry(skin::styleEntryName(pos)), 0) != 0;
}

void TsuiFileTheme::bitmap(int pos, QImage* target, int index, int count) const
{
    if (!target)
        return;
    QImage picture;
    if (reader_) {
        const QByteArray bytes = reader_->pictureBytes(skin::styleEntryName(pos));
        if (!bytes.isEmpty() && picture.loadFromData(bytes, "BMP"))
            picture = picture.convertToFormat(QImage::Format_RGB32);
        else
            picture = QImage();
    }
    if (count == 0)
        *target = picture;
    else
        skin::SliceStrip(picture, target, count, index);
}
