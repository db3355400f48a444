#include "ControlStyle.h"

#include "FileTheme.h"

#include <QWidget>

namespace skin {

ResolvedStyle ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style)
{
    if (style != TsuiUIStyle::FromThemeFile)
        return {false, style};
    if (theme && theme->isOpened())
        return {true, TsuiUIStyle::FromThemeFile};
    return {false, TsuiUIStyle::DeepBlue};
}

ControlStyle::ControlStyle(QObject* control, TsuiUIStyle initial, std::function<void()> reapply,
                           std::function<void()> themeGone)
    : control_(control), style_(initial), reapply_(std::move(reapply)), themeGone_(std::move(themeGone))
{
}

TsuiFileTheme* ControlStyle::fileTheme() const
{
    return theme_;
}

void ControlStyle::setUIStyle(TsuiUIStyle style)
{
    style_ = style;
    if (reapply_)
        reapply_();
}

void ControlStyle::setFileTheme(TsuiFileTheme* theme)
{
    QObject::disconnect(themeGoneConnection_);
    QObject::disconnect(themeOpenedConnection_);
    theme_ = theme;
    if (theme) {
        themeGoneConnection_ = QObject::connect(theme, &TsuiFileTheme::destroying, control_, [this] {
            theme_ = nullptr;
            setUIStyle(TsuiUIStyle::DeepBlue);
            if (themeGone_)
                themeGone_();
        });
        themeOpenedConnection_ = QObject::connect(theme, &TsuiFileTheme::opened, control_, [this](TsuiFileTheme* opened) {
            if (inOwningWindow(opened))
                setFileTheme(opened);
        });
    }
    setUIStyle(style_);
}

// Whether the control is a skinned control of the window whose widget owns the theme.
bool ControlStyle::inOwningWindow(const TsuiFileTheme* theme) const
{
    const auto* owner = qobject_cast<const QWidget*>(theme->parent());
    const auto* control = qobject_cast<const QWidget*>(control_);
    return owner && control && QByteArray(control_->metaObject()->className()).startsWith("Tsui") &&
           owner->window()->isAncestorOf(control);
}

TColor ControlStyle::color(StyleEntry entry) const
{
    const ResolvedStyle from = resolved();
    return from.useTheme ? theme_->color(entry) : StyleColor(from.style, entry);
}

int ControlStyle::integer(StyleEntry entry) const
{
    const ResolvedStyle from = resolved();
    return from.useTheme ? theme_->integer(entry) : StyleInt(from.style, entry);
}

bool ControlStyle::boolean(StyleEntry entry) const
{
    const ResolvedStyle from = resolved();
    return from.useTheme ? theme_->boolean(entry) : StyleBool(from.style, entry);
}

QImage ControlStyle::bitmap(StyleEntry entry, int index, int count) const
{
    QImage picture;
    const ResolvedStyle from = resolved();
    if (from.useTheme)
        theme_->bitmap(entry, &picture, index, count);
    else
        StyleBitmap(from.style, entry, &picture, index, count);
    return picture;
}

BorderedControl::BorderedControl(QWidget* control, std::function<void()> reapply)
    : StyledControl(control, defaultStyleFor(control->parentWidget()),
              [this, reapply = std::move(reapply)] {
                  borderColor_ = toQColor(style_.color(StyleEntry::ControlBorderColor));
                  if (reapply)
                      reapply();
                  control_->update();
              }),
      borderColor_(toQColor(style_.color(StyleEntry::ControlBorderColor))), control_(control)
{
}

void BorderedControl::setBorderColor(const QColor& color)
{
    borderColor_ = color;
    control_->update();
}

TsuiUIStyle DefaultStyleOf(const QWidget* owner)
{
    if (!owner)
        return TsuiUIStyle::DeepBlue;
    for (const QObject* child : owner->children()) {
        if (child->inherits("TsuiForm"))
            if (const auto* form = dynamic_cast<const StyledControl*>(child))
                return form->UIStyle();
    }
    return TsuiUIStyle::DeepBlue;
}

TsuiUIStyle defaultStyleFor(const QWidget* parent)
{
    return DefaultStyleOf(parent ? parent->window() : nullptr);
}

void ApplyStyleToChildren(QWidget* container, TsuiUIStyle style, TsuiFileTheme* theme)
{
    if (!container)
        return;
    const QObjectList children = container->children();  // a copy: setters may add children
    for (QObject* child : children) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control->isWindow())
            continue;
        if (auto* skinned = dynamic_cast<StyledControl*>(control)) {
            skinned->setFileTheme(theme);
            skinned->setUIStyle(style);
        }
    }
}

} // namespace skin
