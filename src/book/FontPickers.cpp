#include "FontPickers.h"

#include <QFontDatabase>
#include <QSignalBlocker>
#include <algorithm>

TsuiFontComboBox::TsuiFontComboBox(QWidget* parent) : QComboBox(parent)
{
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    // The program's own name for its Chinese serif family is offered too.
    if (!families.contains(QStringLiteral("宋体")))
        families.prepend(QStringLiteral("宋体"));
    addItems(families);
    setMaxVisibleItems(20);
}

void TsuiFontComboBox::setFontName(const QString& name)
{
    if (currentText() == name)
        return;
    setCurrentIndex(findText(name, Qt::MatchFixedString));
}

TsuiFontSizeComboBox::TsuiFontSizeComboBox(QWidget* parent) : QComboBox(parent) {}

QList<int> TsuiFontSizeComboBox::sizesOf(const QString& family)
{
    static const QList<int> scalable{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    if (family.isEmpty() || QFontDatabase::isSmoothlyScalable(family)
        || !QFontDatabase::families().contains(family))
        return scalable;
    QList<int> sizes = QFontDatabase::pointSizes(family);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes.isEmpty() ? scalable : sizes;
}

void TsuiFontSizeComboBox::setFontName(const QString& family)
{
    const QSignalBlocker quiet(this);
    const QString current = currentText();
    clear();
    for (int size : sizesOf(family))
        addItem(QString::number(size));
    setCurrentIndex(findText(current));
}

int TsuiFontSizeComboBox::fontSize() const
{
    return currentIndex() < 0 ? 0 : currentText().toInt();
}

void TsuiFontSizeComboBox::setFontSize(int size)
{
    setCurrentIndex(findText(QString::number(size)));
}
