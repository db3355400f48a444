// The reading window's font pickers: the font families of the screen with a marker before each
// scalable one, and the sizes of one family.
#pragma once

#include "TsuiComboBox.h"

#include <QList>
#include <QStyledItemDelegate>

// A drop-down list whose items are font families, drawn with their kind's marker.
class TsuiFontDrawComboBox : public TsuiCustomComboBox {
    Q_OBJECT
public:
    explicit TsuiFontDrawComboBox(QWidget* parent);

    // The marker shown before a family: the TrueType one for scalable families, none otherwise.
    static QImage markerFor(const QString& family);
    // Where the name starts in an item: 6 pixels after the marker's 20.
    static constexpr int kNameOffset = 26;
    // An item is as high as a line of the list's font + 1, at least the marker's height − 1.
    int itemHeight() const;
    // Draws one item: the marker at (left + 2, vertically centred), then the name.
    void paintItem(QPainter& painter, const QRect& area, const QString& family) const;

protected:
    void paintCurrentItem(QPainter& painter, const QRect& area) override;
};

// The font families of the screen, alphabetically, each once; FontName is its text.
class TsuiFontComboBox : public TsuiFontDrawComboBox {
    Q_OBJECT
public:
    explicit TsuiFontComboBox(QWidget* parent);

    QString fontName() const { return currentText(); }
    // Selects the family equal to name, letter case ignored; clears the selection when none is.
    void setFontName(const QString& name);

    // The families the list shows, sorted, each once.
    static QStringList families();

private:
    // Refills the list and reselects the current name, signalling a change only when the name
    // did not survive the rebuild.
    void rebuild();
};

// The sizes of one font: the sixteen standard sizes for a scalable family, else the sizes the
// family offers, in points, ascending, each once.
class TsuiFontSizeComboBox : public TsuiCustomComboBox {
    Q_OBJECT
public:
    explicit TsuiFontSizeComboBox(QWidget* parent);

    static QList<int> sizesOf(const QString& family);

    // Lists the sizes of family and keeps the current size selected when it is among them.
    void setFontName(const QString& family);
    const QString& fontName() const { return fontName_; }
    // The selected size; 0 when nothing is selected.
    int fontSize() const;
    // Selects the item reading size; no selection when it is not listed.
    void setFontSize(int size);

private:
    QString fontName_;
};

namespace skin {
// Draws the font list's items through the list's own item painting.
class FontItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit FontItemDelegate(TsuiFontDrawComboBox* list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TsuiFontDrawComboBox* list_;
};
} // namespace skin
