// Push buttons drawn from the style's three-frame button strip (normal, mouse on, pressed) as a
// nine-slice, with an optional glyph, the embossed grey caption when disabled, the dotted focus
// rectangle, Default and Cancel keys, ModalResult and a repeat event while held.
#pragma once

#include "ControlStyle.h"

#include <QImage>
#include <QPushButton>
#include <QTimer>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A button that paints itself from pictures; what it paints is decided by the virtual
// operations below, in the order they are called while painting.
class TsuiCustomButton : public QPushButton, public skin::StyledControl {
    Q_OBJECT
public:
    explicit TsuiCustomButton(QWidget* parent);

    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    // The caption, with "&" before the access key.
    void setText(const QString& caption);
    void setCaption(const QString& caption) { setText(caption); }

    bool isHot() const { return hot_; }
    bool isPressed() const { return pressed_; }
    // A click as the mouse, the keyboard or an access key gives it.
    void Click();

signals:
    void MouseEnter();
    void MouseExit();
    // Raised every MouseContinuouslyDownInterval while the left button is held on the button.
    void MouseContinuouslyDown();

protected:
    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChanged() { update(); }
    virtual void TransparentChanged() { update(); }
    virtual void EnabledChanged() {}
    virtual void UIStyleChanged() {}
    virtual void PaintPicture(QPainter& painter, const QImage& picture);
    virtual void PaintCaption(QPainter& painter);
    virtual void PaintFocus(QPainter& painter);
    virtual QImage LoadNormalPicture() { return style_.bitmap(StyleEntry::ButtonImage, 1, 3); }
    virtual QImage LoadMouseOnPicture() { return style_.bitmap(StyleEntry::ButtonImage, 2, 3); }
    virtual QImage LoadMouseDownPicture() { return style_.bitmap(StyleEntry::ButtonImage, 3, 3); }
    virtual QImage LoadDisabledPicture() { return style_.bitmap(StyleEntry::ButtonImage, 1, 3); }
    // After OnClick: TsuiButton hands its ModalResult to the window.
    virtual void afterClick() {}

    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void changeEvent(QEvent*) override;
    bool event(QEvent*) override;
    QSize sizeHint() const override;

    // The caption in the button's font within area, as the state shows it.
    void drawCaption(QPainter& painter, QRect area, Qt::Alignment alignment);
    void startRepeat();
    void stopRepeat();
    int repeatInterval_ = 100;
    bool boldCaption_ = false;  // set by focus painting of some styles, cleared after the caption

private:
    QImage pictureForState();

    bool autoSize_ = false;
    bool transparent_ = false;
    bool hot_ = false;
    bool pressed_ = false;
    QTimer* repeat_ = nullptr;
};

class TsuiButton : public TsuiCustomButton {
    Q_OBJECT
public:
    // 80 × 27, a tab stop, in the style of the window it is created in.
    explicit TsuiButton(QWidget* parent = nullptr);
    TsuiButton(const QString& caption, QWidget* parent);

    // Enter anywhere in the window clicks a Default button, Escape a Cancel button.
    bool isDefault() const { return default_; }
    void setDefault(bool value) { default_ = value; }
    bool isCancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }
    // A non-zero result ends the modal window that holds the button, after OnClick.
    int ModalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    // A glyph twice as wide as high holds an enabled and a disabled frame.
    void setGlyph(const QImage& glyph);
    int MouseContinuouslyDownInterval() const { return repeatInterval_; }

    // Where the glyph and the caption go in a button of the given size.
    struct Placement {
        QPoint glyph;
        QPoint caption;
    };
    static Placement place(TButtonLayout layout, QSize button, QSize glyph, QSize text, int spacing);

protected:
    void UIStyleChanged() override;
    void PaintPicture(QPainter& painter, const QImage& picture) override;
    void PaintCaption(QPainter& painter) override;
    void PaintFocus(QPainter& painter) override;
    void afterClick() override;

private:
    QSize glyphSize() const;
    Placement placement() const;

    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    QImage glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
};

// A flat button with a white caption, for the toolbar strips.
class TsuiToolButton : public QPushButton {
    Q_OBJECT
public:
    explicit TsuiToolButton(const QString& caption, QWidget* parent);

protected:
    // A white caption beside its icon, the two centred together; a light wash and frame under
    // the pointer, a darker wash while pressed. Drawn by hand, so that no style sheet is parsed
    // while a toolbar is made.
    void paintEvent(QPaintEvent*) override;
};
