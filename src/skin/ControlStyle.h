// The style state every skinned control keeps: its UIStyle and FileTheme, where its values come
// from (the opened theme or the style table), and the fall-back to DeepBlue when the theme goes.
#pragma once

#include "FileTheme.h"
#include "Style.h"

#include <QMetaObject>
#include <QPointer>
#include <functional>

namespace skin {

class ControlStyle {
public:
    // reapply: the control re-reads its values and repaints; run on every change of the style
    // or the theme. themeGone: run after a destroyed theme has switched the control to DeepBlue.
    ControlStyle(QObject* control, TsuiUIStyle initial, std::function<void()> reapply,
                 std::function<void()> themeGone = {});
    ControlStyle(const ControlStyle&) = delete;
    ControlStyle& operator=(const ControlStyle&) = delete;

    TsuiUIStyle uiStyle() const { return style_; }
    TsuiFileTheme* fileTheme() const { return theme_; }
    void setUIStyle(TsuiUIStyle style);
    // Assigning a theme re-applies the current UIStyle.
    void setFileTheme(TsuiFileTheme* theme);

    ResolvedStyle resolved() const { return ResolveStyle(theme_, style_); }
    TColor color(int pos) const;
    int integer(int pos) const;
    bool boolean(int pos) const;
    QImage bitmap(int pos, int index = 0, int count = 0) const;

private:
    QObject* control_;
    TsuiUIStyle style_;
    QPointer<TsuiFileTheme> theme_;
    QMetaObject::Connection themeConnection_;
    std::function<void()> reapply_;
    std::function<void()> themeGone_;
};

} // namespace skin
