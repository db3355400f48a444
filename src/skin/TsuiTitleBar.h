// The skinned title bar at the top of a window's frame panel: background sections drawn from
// the style's title pictures, picture buttons with hot tracking, the caption, dragging, double-
// click to maximise, the window menu and the window shape with round top corners.
#pragma once

#include "ControlStyle.h"
#include "TsuiMenus.h"
#include "WindowFrame.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <initializer_list>
#include <vector>

#include "FrameDrag.h"

enum class TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
enum class TsuiTitleBarAlign { suiLeft, suiRight, suiClient };

struct TsuiTitleBarButton {
    TsuiTitleBarBtnType ButtonType = TsuiTitleBarBtnType::suiCustom;
    bool Transparent = false;
    int Top = 2;
    TsuiPopupMenu* ControlBoxMenu = nullptr;
    bool Visible = true;
    QImage PicNormal, PicMouseOn, PicMouseDown;
};

struct TsuiTitleBarSection {
    bool AutoSize = false;
    int Width = 10;
    TsuiTitleBarAlign Align = TsuiTitleBarAlign::suiLeft;
    QImage Picture;
    bool Stretch = false;
};

// The window menu: "Minimize", "Maximize/Restore", a separator, "Close".
class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
    Q_OBJECT
public:
    explicit TsuiTitleBarPopupMenu(QWidget* parent);
    QAction* Minimize;
    QAction* MaximizeRestore;
    QAction* Close;
};

class TsuiTitleBar : public QWidget, public skin::StyledControl {
    Q_OBJECT
public:
    static inline const QString kOneControlBoxOnly =
        QStringLiteral("Sorry, only one button's ButtonType property can be \"suiControlBox\"");
    static inline const QString kOneClientSectionOnly =
        QStringLiteral("Sorry, only one section's Align property can be \"suiClient\"");

    // Holds the control box, close, maximise and minimise buttons, in that order. On a frame
    // panel the bar maximises, moves and resizes the window through the frame.
    explicit TsuiTitleBar(QWidget* parent, skin::WindowFrame* frame = nullptr);

    // Buttons, in collection order. A second control box is refused with an error box.
    int buttonCount() const { return int(buttons_.size()); }
    const TsuiTitleBarButton& button(int index) const { return buttons_.at(size_t(index)); }
    int addButton(TsuiTitleBarBtnType type = TsuiTitleBarBtnType::suiCustom);
    bool setButtonType(int index, TsuiTitleBarBtnType type);
    void setButtonPictures(int index, const QImage& normal, const QImage& mouseOn, const QImage& mouseDown);
    void clearButtons();
    // Replaces the buttons by new ones of the given kinds.
    void setButtons(std::initializer_list<TsuiTitleBarBtnType> types);

    // Sections, in collection order. A second client section is refused with an error box.
    int sectionCount() const { return int(sections_.size()); }
    const TsuiTitleBarSection& section(int index) const { return sections_.at(size_t(index)); }
    int addSection();
    bool setSectionAlign(int index, TsuiTitleBarAlign align);

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption) { set(caption_, caption); }
    bool FormActive() const { return formActive_; }
    void setFormActive(bool active) { set(formActive_, active); }

    // Where the buttons and the caption go at the bar's present width.
    struct Placement {
        std::vector<QRect> buttons;  // per button; empty for a hidden one
        int captionLeft = 0;
        int captionRight = 0;        // where the leftmost right-hand button starts
        QString shownCaption;        // the caption, or its first character and "..."
    };
    Placement placement() const;
    // The button under a point of the bar, edges included; -1 for none.
    int buttonAt(QPoint at) const;
    int hotButton() const { return buttonAt(mouse_); }
    bool isPressed() const { return pressed_; }

    // The action of a button, as its release, the window menu or a double-click performs it.
    void performAction(int index);
    TsuiTitleBarPopupMenu* windowMenu() const { return windowMenu_; }
    // Enables the window menu's commands by the buttons present.
    void prepareWindowMenu();
    // The window shape: round top corners of RoundCorner, square bottom corners.
    void applyWindowShape();
    // Reloads the maximise button's pictures after the window's state changed.
    void windowStateChanged();

    // The first caption character(s) and "..." shown when the caption does not fit.
    static QString shortCaption(const QString& caption);

signals:
    void CustomBtnsClick(int index);
    void HelpBtnClick(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    // Whether a press on the control box follows the click that opened its menu closely enough
    // to make a double click; either way the next press starts afresh.
    bool secondClickOnControlBox();
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    template <typename T>
    void set(T& field, const T& value)
    {
        field = value;
        update();
    }
    void applyStyle();
    // The bar takes the height of its first section's picture.
    void fitHeight();
    void loadButtonPictures(TsuiTitleBarButton& button) const;
    void paintSections(QPainter& painter) const;
    void paintButtonsAndCaption(QPainter& painter) const;
    bool onFrameWindow() const;
    bool windowMaximized() const;
    void toggleMaximized();
    int firstButtonOf(TsuiTitleBarBtnType type) const;
    Qt::Edges topResizeEdges(QPoint at) const;

    skin::WindowFrame* frame_;
    std::vector<TsuiTitleBarButton> buttons_;
    std::vector<TsuiTitleBarSection> sections_;
    TsuiTitleBarPopupMenu* windowMenu_;
    QString caption_;
    QColor fontColor_ = Qt::white;
    int leftBtnXOffset_ = 0;
    int rightBtnXOffset_ = 0;
    bool formActive_ = true;
    int roundCorner_ = 0;
    QColor outlineColor_;
    int buttonBandHeight_ = 0;
    int captionTop_ = 0;
    bool pressed_ = false;
    QPoint mouse_{-10000, -10000};  // the last mouse position over the bar
    skin::FrameDrag drag_;
    // Since a click on the control box opened its menu: a second press there within the
    // double-click interval (which reaches the bar through the closing menu) closes the window.
    QElapsedTimer sinceControlBoxMenu_;
};

namespace skin {
// The window shape for a window of the given size: a rounded rectangle whose corner ellipses
// are corner × corner, with its bottom corners squared off; the whole rectangle for corner 0.
QRegion roundTopRegion(QSize window, int corner);
// The caption colour of an inactive window.
inline const QColor kInactiveCaptionText(216, 228, 248);
} // namespace skin
