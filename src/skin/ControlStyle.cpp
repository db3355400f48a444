#include "ControlStyle.h"

#include "FileTheme.h"

namespace skin {

ControlStyle::ControlStyle(QObject* control, TsuiUIStyle initial, std::function<void()> reapply,
                           std::function<void()> themeGone)
    : control_(control), style_(initial), reapply_(std::move(reapply)), themeGone_(std::move(themeGone))
{
}

void ControlStyle::setUIStyle(TsuiUIStyle style)
{
    style_ = style;
    if (reapply_)
        reapply_();
}

void ControlStyle::setFileTheme(TsuiFileTheme* theme)
{
    QObject::disconnect(themeConnection_);
    theme_ = theme;
    if (theme) {
        themeConnection_ = QObject::connect(theme, &TsuiFileTheme::destroying, control_, [this] {
            theme_ = nullptr;
            setUIStyle(TsuiUIStyle::DeepBlue);
            if (themeGone_)
                themeGone_();
        });
    }
    setUIStyle(style_);
}

TColor ControlStyle::color(int pos) const
{
    const ResolvedStyle from = resolved();
    return from.useTheme ? theme_->color(pos) : StyleColor(from.style, pos);
}

int ControlStyle::integer(int pos) const
{
    const ResolvedStyle from = resolved();
    return from.useTheme ? theme_->integer(pos) : StyleInt(from.style, pos);
}

bool ControlStyle::boolean(int pos) const
{
    const ResolvedStyle from = resolved();
    return from.useTheme ? theme_->boolean(pos) : StyleBool(from.style, pos);
}

QImage ControlStyle::bitmap(int pos, int index, int count) const
{
    QImage picture;
    const ResolvedStyle from = resolved();
    if (from.useTheme)
        theme_->bitmap(pos, &picture, index, count);
    else
        StyleBitmap(from.style, pos, &picture, index, count);
    return picture;
}

} // namespace skin
