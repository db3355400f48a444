#include "TsuiMenus.h"

#include "SkinPainting.h"

#include <QActionEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QTextLayout>

namespace skin {

namespace {

constexpr QColor kDisabledText(128, 128, 128);
constexpr int kMacItemPictureHeight = 20;
constexpr int kMacSeparatorPictureHeight = 12;

// A caption of exactly "-" is a separator, like the toolkit's own separators.
bool isSeparator(const QStyleOptionMenuItem& item)
{
    return item.menuItemType == QStyleOptionMenuItem::Separator || item.text == QStringLiteral("-");
}

QString captionOf(const QString& text) { return text.section(u'\t', 0, 0); }
QString shortcutOf(const QString& text) { return text.section(u'\t', 1); }

// The top rows of a one-column picture, stretched over a rectangle.
void stretchPicture(QPainter& painter, const QRect& target, const QString& name, int rows)
{
    const QImage picture = skinPicture(name);
    if (!picture.isNull())
        painter.drawImage(target, picture, QRect(0, 0, picture.width(), qMin(rows, picture.height())));
}

} // namespace

// Measures and draws the items of one skinned menu (bar and drop-downs) from its values.
class MenuStyle : public QProxyStyle {
public:
    explicit MenuStyle(const SkinnedMenu& menu) : menu_(menu) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_MenuPanelWidth: return 1;
        case PM_MenuHMargin: return 0;
        case PM_MenuVMargin: return 1;
        case PM_MenuBarPanelWidth:
        case PM_MenuBarVMargin:
        case PM_MenuBarHMargin:
        case PM_MenuBarItemSpacing: return 0;
        case PM_SmallIconSize: return 16;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type == CT_MenuItem && item) {
            const MenuValues& v = menu_.values();
            if (isSeparator(*item))
                return QSize(v.BarWidth + 40, v.SeparatorHeight);
            // The toolkit adds the short-cut text's width to every item of the column.
            const int text = captionWidth(menu_.itemFont(widget), captionOf(item->text));
            return QSize(text + v.BarWidth + 40, v.MenuItemHeight);
        }
        if (type == CT_MenuBarItem && item)
            return QSize(captionWidth(menu_.itemFont(widget), item->text) + 12, menu_.values().MenuBarHeight);
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_PanelMenu || element == PE_PanelMenuBar)
            return;  // the items and the empty area cover everything
        if (element == PE_FrameMenu) {
            paintMenuFrame(*painter, option->rect);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        switch (element) {
        case CE_MenuItem:
            if (item)
                paintItem(*painter, *item, widget);
            return;
        case CE_MenuEmptyArea: {
            // The margin rows beside the frame: their strip lines up with the items' strip.
            const int inset = pixelMetric(PM_MenuPanelWidth, option, widget) + pixelMetric(PM_MenuHMargin, option, widget);
            paintItemBackground(*painter, option->rect, kMacSeparatorPictureHeight, option->rect.left() + inset);
            return;
        }
        case CE_MenuBarItem:
            if (item)
                paintBarItem(*painter, *item, widget);
            return;
        case CE_MenuBarEmptyArea:
            paintBarBackground(*painter, option->rect);
            return;
        default: QProxyStyle::drawControl(element, option, painter, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 0;  // a disabled item is never highlighted
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    bool macOS() const { return menu_.drawingStyle() == TsuiUIStyle::MacOS; }

    void paintMenuFrame(QPainter& p, const QRect& r) const
    {
        p.setPen(toQColor(menu_.styleColor(StyleEntry::ControlBorderColor)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }

    // The bar strip at the left (from stripLeft, the item's left by default) and the background
    // beside it.
    void paintItemBackground(QPainter& p, const QRect& r, int macRows, int stripLeft = -1) const
    {
        if (macOS()) {
            stretchPicture(p, r, QStringLiteral("MACOS_MENU_BAR"), macRows);
            return;
        }
        const MenuValues& v = menu_.values();
        p.fillRect(r, toQColor(v.Color));
        if (v.BarWidth > 0)
            p.fillRect(QRect(stripLeft < 0 ? r.left() : stripLeft, r.top(), v.BarWidth, r.height()),
                       toQColor(v.BarColor));
    }

    void paintItem(QPainter& p, const QStyleOptionMenuItem& item, const QWidget* widget) const
    {
        const MenuValues& v = menu_.values();
        const QRect r = item.rect;
        const int L = r.left(), T = r.top();
        if (isSeparator(item)) {
            paintItemBackground(p, r, kMacSeparatorPictureHeight);
            if (!macOS()) {
                p.setPen(toQColor(v.SeparatorColor));
                p.drawLine(L + v.BarWidth + 4, T + 2, r.right() - 2, T + 2);
            }
            return;
        }
        const bool enabled = item.state & State_Enabled;
        const bool selected = (item.state & State_Selected) && enabled;
        if (selected && macOS()) {
            stretchPicture(p, r, QStringLiteral("MACOS_MENU_SELECT"), kMacItemPictureHeight);
        } else if (selected) {
            p.fillRect(r, toQColor(v.SelectedColor));
            p.setPen(toQColor(v.SelectedBorderColor));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        } else {
            paintItemBackground(p, r, kMacItemPictureHeight);
        }

        QFont font = menu_.itemFont(widget);
        font.setBold(font.bold() || item.menuItemType == QStyleOptionMenuItem::DefaultItem);
        p.setFont(font);
        p.setPen(!enabled ? kDisabledText : toQColor(selected ? v.SelectedFontColor : v.FontColor));
        // Caption and short-cut text stand on one baseline, the font's ascent below T + 4,
        // whatever fallback fonts their characters take.
        const int baseline = T + 4 + QFontMetrics(font).ascent();
        drawOnBaseline(p, font, L + v.BarWidth + 4, baseline, captionOf(item.text), Qt::TextShowMnemonic);
        const QString shortcut = shortcutOf(item.text);
        if (!shortcut.isEmpty())
            drawOnBaseline(p, font, r.right() + 1 - captionWidth(font, shortcut) - 16, baseline, shortcut, 0);
        if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
            paintSubmenuArrow(p, r, p.pen().color());

        const bool hasIcon = !item.icon.isNull();
        const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
        if (checked && hasIcon) {
            p.fillRect(QRect(QPoint(L + 2, T + 1), QPoint(L + 20, T + 19)), Qt::black);
            p.fillRect(QRect(QPoint(L + 3, T + 2), QPoint(L + 19, T + 18)), toQColor(v.SelectedColor));
        } else if (checked) {
            const QImage mark = menu_.checkMark();
            p.drawImage(L + 4, T + 3, enabled ? mark : greyed(mark));
        }
        if (hasIcon)
            p.drawPixmap(L + 4, T + 3, item.icon.pixmap(16, 16, enabled ? QIcon::Normal : QIcon::Disabled));
    }

    static void drawOnBaseline(QPainter& p, const QFont& font, int x, int baseline, const QString& text,
                               int flags)
    {
        QTextLayout layout(flags & Qt::TextShowMnemonic ? QString(text).remove(u'&') : text, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const int ascent = line.isValid() ? qRound(line.ascent()) : QFontMetrics(font).ascent();
        p.drawText(QRect(x, baseline - ascent, 10000, 1000),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | flags, text);
    }

    void paintSubmenuArrow(QPainter& p, const QRect& r, const QColor& color) const
    {
        const int x = r.right() - 10, y = r.center().y();
        for (int i = 0; i < 4; ++i)
            p.fillRect(x + i, y - 3 + i, 1, 7 - 2 * i, color);
    }

    void paintBarBackground(QPainter& p, const QRect& r) const
    {
        if (macOS())
            stretchPicture(p, r, QStringLiteral("MACOS_MENU_BAR"), menu_.values().MenuBarHeight);
        else
            p.fillRect(r, toQColor(menu_.values().MenuBarColor));
    }

    // A hot or pressed caption button of the bar is framed and filled; others show only text.
    void paintBarItem(QPainter& p, const QStyleOptionMenuItem& item, const QWidget* widget) const
    {
        const MenuValues& v = menu_.values();
        paintBarBackground(p, item.rect);
        const bool enabled = item.state & State_Enabled;
        const bool pressed = item.state & State_Sunken;
        const bool hot = enabled && ((item.state & State_Selected) || pressed);
        QRect r = item.rect;
        p.setFont(menu_.itemFont(widget));
        if (hot && macOS()) {
            stretchPicture(p, r, QStringLiteral("MACOS_MENU_SELECT"), kMacItemPictureHeight);
        } else if (hot) {
            if (pressed)
                r.setRight(r.right() - 2);
            p.fillRect(r, toQColor(v.SelectedColor));
            p.setPen(toQColor(v.SelectedBorderColor));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        QRect text = r.translated(0, 2);
        if (hot && pressed)
            text.setLeft(text.left() + 2);
        p.setPen(!enabled ? kDisabledText : hot ? toQColor(v.SelectedFontColor) : QColor(Qt::black));
        p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, item.text);
    }

    const SkinnedMenu& menu_;
};

std::unique_ptr<ImageList> makeCheckMarkList()
{
    auto list = std::make_unique<ImageList>();
    list->pictures.push_back(withTransparentColor(skinPicture(QStringLiteral("MENU_CHECKED")), Qt::white));
    return list;
}

const ImageList& sharedCheckMarkList()
{
    static const std::unique_ptr<ImageList> shared = makeCheckMarkList();
    return *shared;
}

SkinnedMenu::SkinnedMenu(QWidget* menu, const ImageList* checkMarks)
    : StyledControl(menu, defaultStyleFor(menu->parentWidget()), [this] { applyStyle(); }), menu_(menu),
      checkMarks_(checkMarks), images_(checkMarks), menuStyle_(new MenuStyle(*this))
{
    menuStyle_->setParent(menu);
    menu->setStyle(menuStyle_);
    applyStyle();
}

void SkinnedMenu::applyStyle()
{
    const bool mac = drawingStyle() == TsuiUIStyle::MacOS;
    values_.MenuItemHeight = mac ? 20 : 21;
    values_.SeparatorHeight = mac ? 12 : 5;
    values_.BarWidth = 26;
    values_.BarColor = style_.color(StyleEntry::MenuBarColor);
    values_.Color = style_.color(StyleEntry::MenuBackgroundColor);
    values_.SeparatorColor = mac ? 0 : 8684164;
    values_.SelectedBorderColor = style_.color(StyleEntry::MenuSelectedBorderColor);
    values_.SelectedColor = style_.color(StyleEntry::MenuSelectedBackgroundColor);
    values_.SelectedFontColor = style_.color(StyleEntry::MenuSelectedFontColor);
    values_.FontColor = style_.color(StyleEntry::MenuFontColor);
    relayout();
}

void SkinnedMenu::setMenuItemHeight(int height)
{
    if (drawingStyle() != TsuiUIStyle::MacOS)
        change([&] { values_.MenuItemHeight = height; });
}

// Sizes depend on the values, so the menus lay out their items again.
void SkinnedMenu::relayout()
{
    for (QWidget* widget : menu_->findChildren<QMenu*>())
        if (widget->style() == menuStyle_)
            QCoreApplication::postEvent(widget, new QEvent(QEvent::StyleChange));
    QCoreApplication::postEvent(menu_, new QEvent(QEvent::StyleChange));
    menu_->update();
}

void SkinnedMenu::adopt(QMenu* menu)
{
    if (!menu || menu->style() == menuStyle_)
        return;
    menu->setStyle(menuStyle_);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
        for (QAction* action : menu->actions())
            adopt(action->menu());
    });
}

} // namespace skin

TsuiPopupMenu::TsuiPopupMenu(QWidget* parent)
    : QMenu(parent), skin::SkinnedMenu(this, &skin::sharedCheckMarkList())
{
}

void TsuiPopupMenu::actionEvent(QActionEvent* event)
{
    if (event->type() == QEvent::ActionAdded)
        adopt(event->action()->menu());
    QMenu::actionEvent(event);
}

TsuiMainMenu::TsuiMainMenu(QWidget* parent) : TsuiMainMenu(parent, skin::makeCheckMarkList()) {}

TsuiMainMenu::TsuiMainMenu(QWidget* parent, std::unique_ptr<skin::ImageList> checkMarks)
    : QMenuBar(parent), skin::SkinnedMenu(this, checkMarks.get()), ownCheckMarks_(std::move(checkMarks))
{
    setNativeMenuBar(false);
}

void TsuiMainMenu::actionEvent(QActionEvent* event)
{
    if (event->type() == QEvent::ActionAdded)
        adopt(event->action()->menu());
    QMenuBar::actionEvent(event);
}
