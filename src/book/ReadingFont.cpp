#include "ReadingFont.h"

#include "skin/Messages.h"
#include "skin/TsuiFontComboBox.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <stdexcept>

namespace book {

namespace {

const QString kSizeNotANumber = QStringLiteral("设置文件 %1 中的字号“%2”不是有效的整数");

// The family the name picker selects for name: the first listed one equal to it, letter case
// ignored.
QString listedFamily(const QString& name)
{
    for (const QString& family : TsuiFontComboBox::families())
        if (family.compare(name, Qt::CaseInsensitive) == 0)
            return family;
    return {};
}

int offeredSize(const QString& family, int size)
{
    return TsuiFontSizeComboBox::sizesOf(family).contains(size) ? size : 0;
}

} // namespace

QString ReadingFont::defaultName()
{
    return QStringLiteral("宋体");
}

QStringList ReadingFont::settingsLines() const
{
    return {QStringLiteral("[Font]"), QStringLiteral("FontName=") + name,
            QStringLiteral("FontSize=") + QString::number(size)};
}

void readReadingFont(const QString& path, ReadingFont& font)
{
    if (!QFileInfo::exists(path))
        return;
    const QStringList lines = textfile::readOwnFileLines(path);
    if (lines.isEmpty())
        return;
    font.name = listedFamily(lines.value(1).mid(9));
    // The size list of the new family keeps the size chosen before when it offers it.
    font.size = offeredSize(font.name, font.size);
    const QString sizeText = lines.value(2).mid(9);
    bool isNumber = false;
    const int size = sizeText.toInt(&isNumber);
    if (!isNumber) {
        font.forEditor = false;
        throw std::runtime_error(kSizeNotANumber.arg(path, sizeText).toStdString());
    }
    font.size = offeredSize(font.name, size);
}

ReadingFont loadReadingFont(const QString& path)
{
    ReadingFont font;
    skin::guarded([&] { readReadingFont(path, font); });
    return font;
}

void writeReadingFont(const QString& path, const ReadingFont& font)
{
    textfile::writeLines(path, font.settingsLines());
}

} // namespace book
