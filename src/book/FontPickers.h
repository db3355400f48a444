// The reading window's two font pickers: the installed font families, and the sizes of one.
#pragma once

#include <QComboBox>
#include <QList>

// The font families of the screen, sorted by name, each once.
class TsuiFontComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TsuiFontComboBox(QWidget* parent);
    QString fontName() const { return currentText(); }
    // Selects the family equal to name, letter case ignored; clears the selection when none is.
    void setFontName(const QString& name);
};

// The sizes of one font: the sixteen standard sizes for a scalable family, else the sizes the
// family offers, in points, ascending, each once.
class TsuiFontSizeComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TsuiFontSizeComboBox(QWidget* parent);
    static QList<int> sizesOf(const QString& family);

    void setFontName(const QString& family);
    // The selected size; 0 when nothing is selected.
    int fontSize() const;
    // Selects the item reading size; no selection when it is not listed.
    void setFontSize(int size);
};
