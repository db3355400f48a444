#include "TsuiFontComboBox.h"

#include "FileTheme.h"
#include "SkinPainting.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

namespace {
// The program's own name for its Chinese serif family, offered whether installed or not.
const QString kSongTi = QStringLiteral("宋体");
constexpr int kMarkerWidth = 20;
} // namespace

namespace skin {

FontItemDelegate::FontItemDelegate(TsuiFontDrawComboBox* list) : QStyledItemDelegate(list), list_(list) {}

void FontItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    list_->paintItem(*painter, option.rect, index.data().toString());
    painter->restore();
}

QSize FontItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + TsuiFontDrawComboBox::kNameOffset,
                 list_->itemHeight());
}

} // namespace skin

TsuiFontDrawComboBox::TsuiFontDrawComboBox(QWidget* parent) : TsuiCustomComboBox(parent)
{
    setItemDelegate(new skin::FontItemDelegate(this));
    setMaxVisibleItems(20);
}

QImage TsuiFontDrawComboBox::markerFor(const QString& family)
{
    if (family == kSongTi || QFontDatabase::isSmoothlyScalable(family))
        return skin::skinPicture(QStringLiteral("FONTCOMBO_TRUETYPE_FNT"));
    return {};
}

int TsuiFontDrawComboBox::itemHeight() const
{
    const QImage marker = skin::skinPicture(QStringLiteral("FONTCOMBO_TRUETYPE_FNT"));
    return std::max(skin::textHeight(font()) + 1, marker.height() - 1);
}

void TsuiFontDrawComboBox::paintItem(QPainter& painter, const QRect& area, const QString& family) const
{
    const QImage marker = markerFor(family);
    if (!marker.isNull())
        painter.drawImage(area.left() + 2, area.top() + (area.height() - marker.height()) / 2,
                          skin::withTransparentColor(marker, marker.pixelColor(0, marker.height() - 1)));
    painter.setFont(font());
    const int left = area.left() + std::max(marker.width(), kMarkerWidth) + 6;
    painter.drawText(QRect(left, area.top(), area.right() - left, area.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, family);
}

void TsuiFontDrawComboBox::paintCurrentItem(QPainter& painter, const QRect& area)
{
    if (currentIndex() >= 0)
        paintItem(painter, area, currentText());
}

TsuiFontComboBox::TsuiFontComboBox(QWidget* parent) : TsuiFontDrawComboBox(parent)
{
    rebuild();
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, &TsuiFontComboBox::rebuild);
}

QStringList TsuiFontComboBox::families()
{
    QStringList names = QFontDatabase::families();
    names.removeDuplicates();
    if (!names.contains(kSongTi))
        names.append(kSongTi);
    names.sort(Qt::CaseInsensitive);
    return names;
}

// The desktop has no printer fonts of its own: every device shows the screen's families.
void TsuiFontComboBox::rebuild()
{
    const QString name = fontName();
    {
        const QSignalBlocker quiet(this);
        clear();
        addItems(families());
        setCurrentIndex(findText(name, Qt::MatchFixedString));
    }
    if (fontName() != name)
        emit currentIndexChanged(currentIndex());
}

void TsuiFontComboBox::setFontName(const QString& name)
{
    if (currentText() == name)
        return;
    setCurrentIndex(findText(name, Qt::MatchFixedString));
}

TsuiFontSizeComboBox::TsuiFontSizeComboBox(QWidget* parent) : TsuiCustomComboBox(parent) {}

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
    fontName_ = family;
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
