// The main window's status bar: panels of fixed widths, the last taking the rest.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

class TsuiStatusBar : public QWidget {
    Q_OBJECT
public:
    struct Panel {
        int width = 0;  // ignored for the last panel, which takes the rest
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    explicit TsuiStatusBar(QWidget* parent);
    void setPanels(std::vector<Panel> panels);
    void setPanelText(int index, const QString& text);
    const QString& panelText(int index) const { return panels_.at(size_t(index)).text; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<Panel> panels_;
};
