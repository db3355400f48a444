#include "Style.h"

#include <QApplication>
#include <QHash>
#include <QPalette>
#include <array>

// The resource initialiser lives in the global namespace.
static void registerSkinPictures()
{
    Q_INIT_RESOURCE(skin_pictures);
}

namespace skin {

namespace {

// One value per built-in style, in the order the styles are usually listed.
struct PerStyle {
    qint32 winXP, deepBlue, macOS, protein, blueGlass;

    qint32 of(TsuiUIStyle style) const
    {
        switch (style) {
        case TsuiUIStyle::MacOS: return macOS;
        case TsuiUIStyle::WinXP: return winXP;
        case TsuiUIStyle::DeepBlue: return deepBlue;
        case TsuiUIStyle::Protein: return protein;
        case TsuiUIStyle::BlueGlass: return blueGlass;
        case TsuiUIStyle::FromThemeFile: break;
        }
        return 0;
    }
};

struct Entry {
    const char* name;
    StyleKind kind;
    PerStyle values;       // integers, colours, booleans
    const char* element;   // images: the part of the resource name after the style prefix
};

constexpr PerStyle none{0, 0, 0, 0, 0};
constexpr PerStyle same(qint32 value) { return {value, value, value, value, value}; }

Entry image(const char* name, const char* element) { return {name, StyleKind::Image, none, element}; }
Entry integer(const char* name, PerStyle values) { return {name, StyleKind::Integer, values, ""}; }
Entry color(const char* name, PerStyle values) { return {name, StyleKind::Color, values, ""}; }
Entry boolean(const char* name, PerStyle values) { return {name, StyleKind::Boolean, values, ""}; }

// Positions 1 to 42. Value columns: WinXP, DeepBlue, MacOS, Protein, BlueGlass.
const std::array<Entry, kStyleEntryCount>& table()
{
    static const std::array<Entry, kStyleEntryCount> entries{{
        image("ButtonImage", "BUTTON"),
        boolean("ButtonTransparentBool", {0, 0, 1, 0, 1}),
        image("CheckBoxImage", "CHECKBOX"),
        image("RadioButtonImage", "RADIOBUTTON"),
        image("TitleBarButtonImage", "TITLEBTN"),
        boolean("TitleBarButtonTransparentBool", {0, 0, 0, 1, 1}),
        integer("TitleBarButtonLeftOffsetInt", {2, 0, 3, 0, 4}),
        integer("TitleBarButtonRightOffsetInt", {-2, 0, -2, 0, -3}),
        integer("TitleBarButtonTopInt", {5, 2, 4, 2, 6}),
        image("TitleBarLeftImage", "TITLE_LEFT"),
        image("TitleBarClientImage", "TITLE_CLIENT"),
        image("TitleBarRightImage", "TITLE_RIGHT"),
        integer("FormMinWidthInt", {150, 130, 130, 130, 270}),
        integer("FormRoundCornerInt", {13, 0, 0, 0, 11}),
        color("FormBackgroundColor", {14609391, 15263976, 15198183, 16514043, 15198183}),
        color("FormBorderColor", {13118464, 0, 8355711, 0, 0}),
        integer("FormBorderWidthInt", {3, 1, 1, 1, 1}),
        color("MenuSelectedBorderColor", {13003057, 10504772, 12874553, 12857389, 15490654}),
        color("MenuSelectedBackgroundColor", {15717318, 10504772, 12874553, 12857389, 15490654}),
        color("MenuSelectedFontColor", {0, 16777215, 16777215, 16777215, 16777215}),
        color("MenuBackgroundColor", {16777215, 16777215, 0, 16777215, 15198183}),
        color("MenuFontColor", same(0)),
        color("MenuBarColor", {13554646, 13554646, 0, 13554646, 13554646}),
        image("ProgressBarImage", "PROGRESSBAR"),
        color("ControlBorderColor", {6842472, 0, 8355711, 0, 0}),
        color("ControlBackgroundColor", {14609391, 15263976, 15198183, 16514043, 15198183}),
        color("ControlFontColor", {13583874, 0, 0, 0, 0}),
        image("TrackBarBarImage", "TRACKBAR_BAR"),
        image("TrackBarSliderImage", "TRACKBAR_SLIDER"),
        image("TrackBarSliderVImage", "TRACKBAR_SLIDER_V"),
        color("ScrollBarBackgroundColor", {16382457, 16119285, 13224393, 16119285, 16053492}),
        image("ScrollBarButtonImage", "SCROLLBAR_BUTTON"),
        image("ScrollBarSliderImage", "SCROLLBAR_TRACK"),
        image("CheckListBoxImage", "CHECKLIST"),
        color("ToolBarButtonBorderColor", {13003057, 4671303, 4671303, 4671303, 4671303}),
        color("ToolBarButtonBackgroundColor", {15717318, 15724527, 15724527, 15724527, 15724527}),
        color("ToolBarButtonDownBackgroundColor", {14789779, 14211288, 14211288, 14211288, 14211288}),
        image("ScrollButtonImage", "SCROLLBUTTON"),
        image("TabControlTabImage", "TAB"),
        image("TabControlBarImage", "TAB_LINE"),
        image("SideChannelHandleImage", "SIDECHENNEL_HANDLE"),
        image("SideChannelBarImage", "SIDECHENNEL_BAR"),
    }};
    return entries;
}

// The style that a lookup may use: the low seven bits, one of the five built-in styles.
bool builtIn(TsuiUIStyle style, TsuiUIStyle* effective)
{
    const int value = int(quint8(style)) & 0x7F;
    if (value < int(TsuiUIStyle::MacOS) || value > int(TsuiUIStyle::BlueGlass))
        return false;
    *effective = TsuiUIStyle(value);
    return true;
}

const Entry* entryAt(StyleEntry entry)
{
    const int pos = int(entry);
    if (pos < 1 || pos > kStyleEntryCount)
        return nullptr;
    return &table()[size_t(pos - 1)];
}

// The value of an entry of the given kind in a built-in style, or nothing.
const Entry* valueEntry(TsuiUIStyle style, StyleEntry at, StyleKind kind, TsuiUIStyle* effective)
{
    const Entry* entry = entryAt(at);
    if (!entry || entry->kind != kind || !builtIn(style, effective))
        return nullptr;
    return entry;
}

QString prefixOf(TsuiUIStyle style)
{
    switch (style) {
    case TsuiUIStyle::MacOS: return QStringLiteral("MACOS");
    case TsuiUIStyle::WinXP: return QStringLiteral("WINXP");
    case TsuiUIStyle::DeepBlue: return QStringLiteral("DEEPBLUE");
    case TsuiUIStyle::Protein: return QStringLiteral("PROTEIN");
    case TsuiUIStyle::BlueGlass: return QStringLiteral("BLUEGLASS");
    case TsuiUIStyle::FromThemeFile: break;
    }
    return {};
}

} // namespace

QColor toQColor(TColor color)
{
    if (color >= 0)
        return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    const QPalette palette = QApplication::palette();
    switch (quint32(color)) {
    case quint32(clBtnFace): return palette.color(QPalette::Button);
    case quint32(clHighlight): return palette.color(QPalette::Highlight);
    case quint32(clHighlightText): return palette.color(QPalette::HighlightedText);
    case quint32(clMenuText): return palette.color(QPalette::WindowText);
    default: return QColor(Qt::black);
    }
}

TColor fromQColor(const QColor& color)
{
    return rgbColor(color.red(), color.green(), color.blue());
}

QString styleEntryName(StyleEntry at)
{
    const Entry* entry = entryAt(at);
    return entry ? QString::fromLatin1(entry->name) : QString();
}

StyleKind styleEntryKind(StyleEntry at)
{
    const Entry* entry = entryAt(at);
    return entry ? entry->kind : StyleKind::Integer;
}

QString styleBitmapName(TsuiUIStyle style, StyleEntry at)
{
    TsuiUIStyle effective;
    const Entry* entry = valueEntry(style, at, StyleKind::Image, &effective);
    if (!entry)
        return {};
    if (at == StyleEntry::ScrollButtonImage && effective != TsuiUIStyle::WinXP && effective != TsuiUIStyle::MacOS)
        return QStringLiteral("MORE_SCROLLBUTTON");
    return prefixOf(effective) + u'_' + QString::fromLatin1(entry->element);
}

TColor StyleColor(TsuiUIStyle style, StyleEntry at)
{
    TsuiUIStyle effective;
    const Entry* entry = valueEntry(style, at, StyleKind::Color, &effective);
    return entry ? entry->values.of(effective) : 0;
}

int StyleInt(TsuiUIStyle style, StyleEntry at)
{
    TsuiUIStyle effective;
    const Entry* entry = valueEntry(style, at, StyleKind::Integer, &effective);
    return entry ? entry->values.of(effective) : -1;
}

bool StyleBool(TsuiUIStyle style, StyleEntry at)
{
    TsuiUIStyle effective;
    const Entry* entry = valueEntry(style, at, StyleKind::Boolean, &effective);
    return entry && entry->values.of(effective) != 0;
}

void StyleBitmap(TsuiUIStyle style, StyleEntry at, QImage* target, int index, int count)
{
    if (!target)
        return;
    const QString name = styleBitmapName(style, at);
    if (name.isEmpty())
        return;
    const QImage whole = skinPicture(name);
    if (count == 0)
        *target = whole;
    else
        SliceStrip(whole, target, count, index);
}

void SliceStrip(const QImage& source, QImage* target, int count, int index)
{
    if (!target)
        return;
    if (count <= 0 || source.isNull()) {
        *target = QImage();
        return;
    }
    const int frameWidth = source.width() / count;
    *target = source.copy(frameWidth * (index - 1), 0, frameWidth, source.height());
}

QImage sliceStrip(const QImage& source, int count, int index)
{
    QImage frame;
    SliceStrip(source, &frame, count, index);
    return frame;
}

QImage formBackgroundPicture(TsuiUIStyle style)
{
    if (style != TsuiUIStyle::MacOS && style != TsuiUIStyle::Protein)
        return {};
    return skinPicture(prefixOf(style) + QStringLiteral("_FORM_BACKGROUND"));
}

QImage skinPicture(const QString& name)
{
    static QHash<QString, QImage> loaded;
    if (const auto found = loaded.constFind(name); found != loaded.constEnd())
        return *found;
    static const bool registered = [] {
        registerSkinPictures();
        return true;
    }();
    Q_UNUSED(registered);
    QImage picture(QStringLiteral(":/skin/%1.bmp").arg(name), "BMP");
    if (!picture.isNull())
        picture = picture.convertToFormat(QImage::Format_RGB32);
    loaded.insert(name, picture);
    return picture;
}

} // namespace skin
