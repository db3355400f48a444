// A check box drawn from the style's four-frame strip (checked, unchecked, checked disabled,
// unchecked disabled), sized to its caption while AutoSize is on.
#pragma once

#include "ControlStyle.h"

#include <QCheckBox>

class TsuiCheckBox : public QCheckBox, public skin::StyledControl {
    Q_OBJECT
public:
    // 93 × 17 before auto size, a tab stop, in the style of the window it is created in.
    explicit TsuiCheckBox(QWidget* parent = nullptr);
    TsuiCheckBox(const QString& caption, QWidget* parent);

    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    // "Checked" checks the box, any other state unchecks it.
    Qt::CheckState State() const { return isChecked() ? Qt::Checked : Qt::Unchecked; }
    void setState(Qt::CheckState state) { setChecked(state == Qt::Checked); }
    void setText(const QString& caption);
    void setCaption(const QString& caption) { setText(caption); }

    // Checked := not Checked, then AfterToggle.
    virtual void Toggle();
    // What the mouse, Space, Enter or the access key do: take the focus, toggle, then OnClick.
    void Click();

    // The frame of the strip for a state: 1 checked, 2 unchecked, 3 and 4 the same disabled.
    static int frameFor(bool checked, bool enabled) { return (checked ? 1 : 2) + (enabled ? 0 : 2); }

protected:
    // Whether the picture's transparent colour (its bottom-left pixel) is left out.
    virtual bool PictureTransparent() const { return false; }
    // Raised after every change of Checked, by the user or by the program.
    virtual void CheckedChanged() {}
    virtual void AfterToggle() {}
    void nextCheckState() override;
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    bool event(QEvent*) override;
    QSize sizeHint() const override { return size(); }

private:
    QImage picture() const;
    void fitToCaption();

    bool autoSize_ = true;
    bool transparent_ = false;
    bool enterHeld_ = false;
};
