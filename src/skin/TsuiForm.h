// The skinned frame panel. Placed on a window it takes the window over: the desktop's frame
// goes, the panel fills the window but for border strips in BorderColor, carries the title bar
// at its top and the main menu's bar below it, and resizes and maximises the window itself.
// Every control of the window is its child.
#pragma once

#include "ControlStyle.h"
#include "FrameDrag.h"
#include "TsuiTitleBar.h"
#include "WindowFrame.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <initializer_list>

class TsuiMainMenu;

namespace skin {
// The colour of panels where no picture covers them.
inline const QColor kPanelColor(239, 235, 222);
}

class TsuiForm : public QWidget, public skin::StyledControl, public skin::WindowFrame {
    Q_OBJECT
    Q_PROPERTY(QColor Color MEMBER Color)
public:
    static inline const QString kOneFormOnly =
        QStringLiteral("Sorry, You can create only one TsuiForm component in one form!");

    // Takes window over; a window that already has a TsuiForm makes this throw
    // std::logic_error with kOneFormOnly. The program's windows all show the WinXP style.
    explicit TsuiForm(QWidget* window, TsuiUIStyle style = TsuiUIStyle::WinXP);

    // A change of the style sets the border, panel and menu-bar colours and the border width; the
    // title bar and the menu take the style too, and with UIStyleAutoUpdateSub the direct children.
    bool UIStyleAutoUpdateSub = false;
    QColor Color = skin::kPanelColor;

    TsuiTitleBar* titleBar() const { return titleBar_; }
    void setTitleBarButtons(std::initializer_list<TsuiTitleBarBtnType> types) { titleBar_->setButtons(types); }
    QString Caption() const { return titleBar_->Caption(); }
    // The title bar's caption and the window's own title.
    void setCaption(const QString& caption);
    TColor BorderColor() const { return borderColor_; }
    void setBorderColor(TColor color);
    int BorderWidth() const { return borderWidth_; }
    // The panel keeps its size: the window grows or shrinks by the change.
    void setBorderWidth(int width);
    bool TitleBarVisible() const { return !titleBar_->isHidden(); }
    void setTitleBarVisible(bool visible);

    // The main menu shown in the bar below the title bar: none until made, then the one made
    // first.
    TsuiMainMenu* Menu() const { return menu_; }
    TsuiMainMenu* createMenu();
    int MenuBarHeight() const { return menuBarHeight_; }
    void setMenuBarHeight(int height);

    // Whether the window can be resized from its edges (it had a sizeable border).
    bool Sizeable() const override { return sizeable_; }
    void setSizeable(bool sizeable) { sizeable_ = sizeable; }

    // The window's outer size for a panel of the given size: the border strips beside and below.
    QSize windowSizeFor(QSize panel) const;
    // Where the window's own content starts in the panel: below the title bar and the menu bar.
    int clientTop() const;

    // Moves every control on the panel but the title bar and the menu bar down by clientTop(),
    // so that content laid out from the panel's top sits below the bars.
    void moveContentBelowBars();

    // Maximised, the window covers the screen's available area and cannot be moved or resized.
    bool isMaximized() const override { return maximized_; }
    void setMaximized(bool maximized) override;

    // Lays the panel, the title bar and the menu bar out in the window.
    void layOut();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    static QWidget* windowWithoutForm(QWidget* window);
    void takeOver();
    void applyStyle();
    void paintBorder();
    // Window coordinates: a press there resizes the window when it is sizeable and not maximised.
    Qt::Edges edgesAt(QPoint inWindow) const;
    bool pressToResize(QMouseEvent* event, QPoint inWindow);
    void showResizeCursor(QWidget* under, QPoint inWindow);

    QWidget* window_;
    TsuiTitleBar* titleBar_ = nullptr;
    QPointer<TsuiMainMenu> menu_;
    TColor borderColor_ = 0;
    int borderWidth_ = 0;
    TColor menuBarColor_ = 0;
    QPixmap background_;  // tiled over the panel instead of Color when the style has one
    int menuBarHeight_ = 22;
    bool sizeable_ = false;
    bool maximized_ = false;
    QRect normalGeometry_;
    QSize normalMinimum_, normalMaximum_;
    skin::FrameDrag drag_;
};
