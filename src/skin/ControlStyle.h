// The style state every skinned control keeps: its UIStyle and FileTheme, where its values come
// from (the opened theme or the style table), the fall-back to DeepBlue when the theme goes, and
// how a style reaches a control.
#pragma once

#include "Style.h"

#include <QColor>
#include <QMetaObject>
#include <QPointer>
#include <functional>

class QWidget;
class TsuiFileTheme;

namespace skin {

struct ResolvedStyle {
    bool useTheme = false;
    TsuiUIStyle style = TsuiUIStyle::DeepBlue;
    bool operator==(const ResolvedStyle&) const = default;
};
// Where a control takes its values from: the opened theme for FromThemeFile, DeepBlue for
// FromThemeFile without one, else the table with the style itself.
ResolvedStyle ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style);

class ControlStyle {
public:
    // reapply: the control re-reads its values and repaints; run on every change of the style
    // or the theme. themeGone: run after a destroyed theme has switched the control to DeepBlue.
    ControlStyle(QObject* control, TsuiUIStyle initial, std::function<void()> reapply,
                 std::function<void()> themeGone = {});
    ControlStyle(const ControlStyle&) = delete;
    ControlStyle& operator=(const ControlStyle&) = delete;

    TsuiUIStyle uiStyle() const { return style_; }
    TsuiFileTheme* fileTheme() const;
    void setUIStyle(TsuiUIStyle style);
    // Assigning a theme re-applies the current UIStyle, and so does the theme's opening of a file
    // while the control belongs to the window that owns the theme.
    void setFileTheme(TsuiFileTheme* theme);

    ResolvedStyle resolved() const { return ResolveStyle(fileTheme(), style_); }
    TColor color(StyleEntry entry) const;
    int integer(StyleEntry entry) const;
    bool boolean(StyleEntry entry) const;
    QImage bitmap(StyleEntry entry, int index = 0, int count = 0) const;

private:
    bool inOwningWindow(const TsuiFileTheme* theme) const;

    QObject* control_;
    TsuiUIStyle style_;
    QPointer<TsuiFileTheme> theme_;
    QMetaObject::Connection themeGoneConnection_, themeOpenedConnection_;
    std::function<void()> reapply_;
    std::function<void()> themeGone_;
};

// What every skinned control publishes, UIStyle and FileTheme, kept in its ControlStyle.
class StyledControl {
public:
    TsuiFileTheme* FileTheme() const { return style_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { style_.setFileTheme(theme); }
    TsuiUIStyle UIStyle() const { return style_.uiStyle(); }
    void setUIStyle(TsuiUIStyle uiStyle) { style_.setUIStyle(uiStyle); }

protected:
    StyledControl(QObject* control, TsuiUIStyle initial, std::function<void()> reapply,
            std::function<void()> themeGone = {})
        : style_(control, initial, std::move(reapply), std::move(themeGone))
    {
    }
    virtual ~StyledControl() = default;

    ControlStyle style_;
};

// A skinned control framed in BorderColor, which the style's control border colour sets before
// the control reads its other values.
class BorderedControl : public StyledControl {
public:
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);

protected:
    BorderedControl(QWidget* control, std::function<void()> reapply);

    QColor borderColor_;

private:
    QWidget* control_;
};

// The style of the first TsuiForm among the owner's child controls; DeepBlue without one.
TsuiUIStyle DefaultStyleOf(const QWidget* owner);
// The style a new control takes from the window it is created in.
TsuiUIStyle defaultStyleFor(const QWidget* parent);

// Gives every direct child control that is skinned first the theme, then the style, in child
// order.
void ApplyStyleToChildren(QWidget* container, TsuiUIStyle style, TsuiFileTheme* theme);

} // namespace skin
