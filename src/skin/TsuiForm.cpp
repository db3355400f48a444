#include "TsuiForm.h"

#include "TsuiMenus.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <stdexcept>

namespace {
constexpr QSize kLeastWindow(125, 50);
}

QWidget* TsuiForm::windowWithoutForm(QWidget* window)
{
    Q_ASSERT(window && window->isWindow());
    for (const QObject* child : window->children())
        if (qobject_cast<const TsuiForm*>(child))
            throw std::logic_error(kOneFormOnly.toStdString());
    return window;
}

TsuiForm::TsuiForm(QWidget* window, TsuiUIStyle style)
    : QWidget(windowWithoutForm(window)),
      skin::StyledControl(this, style, [this] { applyStyle(); },
                          [this] { skin::ApplyStyleToChildren(this, TsuiUIStyle::DeepBlue, nullptr); }),
      window_(window)
{
    window_->setMinimumSize(kLeastWindow);
    titleBar_ = new TsuiTitleBar(this, this);
    titleBar_->setCaption(window_->windowTitle());
    takeOver();
    applyStyle();
}

// The desktop's frame goes; the window's size, title and activation reach the frame.
void TsuiForm::takeOver()
{
    window_->setWindowFlags(window_->windowFlags() | Qt::FramelessWindowHint);
    window_->setMouseTracking(true);
    setMouseTracking(true);
    window_->installEventFilter(this);
}

void TsuiForm::setCaption(const QString& caption)
{
    titleBar_->setCaption(caption);
    window_->setWindowTitle(caption);
}

void TsuiForm::applyStyle()
{
    borderColor_ = style_.color(StyleEntry::FormBorderColor);
    const int oldBorder = borderWidth_;
    borderWidth_ = qMax(0, style_.integer(StyleEntry::FormBorderWidthInt));
    Color = skin::toQColor(style_.color(StyleEntry::FormBackgroundColor));
    background_ = QPixmap::fromImage(skin::formBackgroundPicture(style_.uiStyle()));
    menuBarColor_ = style_.color(StyleEntry::FormBackgroundColor);
    titleBar_->setFileTheme(style_.fileTheme());
    titleBar_->setUIStyle(style_.uiStyle());
    if (menu_) {
        menu_->setFileTheme(style_.fileTheme());
        menu_->setUIStyle(style_.uiStyle());
        menu_->setMenuBar(menuBarColor_, menuBarHeight_);
    }
    if (UIStyleAutoUpdateSub)
        skin::ApplyStyleToChildren(this, style_.uiStyle(), style_.fileTheme());
    if (oldBorder != borderWidth_ && oldBorder > 0)
        window_->resize(window_->size() + QSize(2, 1) * (borderWidth_ - oldBorder));
    layOut();
    update();
    window_->update();
}

void TsuiForm::setBorderColor(TColor color)
{
    borderColor_ = color;
    layOut();
    window_->update();
}

void TsuiForm::setBorderWidth(int width)
{
    const QSize panel = size();
    borderWidth_ = qMax(0, width);
    window_->resize(windowSizeFor(panel));
    layOut();
    window_->update();
}

void TsuiForm::setTitleBarVisible(bool visible)
{
    titleBar_->setVisible(visible);
    titleBar_->raise();
    layOut();
    window_->update();
}

TsuiMainMenu* TsuiForm::createMenu()
{
    if (menu_)
        return menu_;
    menu_ = new TsuiMainMenu(this);
    menu_->setFileTheme(style_.fileTheme());
    menu_->setUIStyle(style_.uiStyle());
    menu_->setMenuBar(menuBarColor_, menuBarHeight_);
    menu_->show();
    layOut();
    return menu_;
}

void TsuiForm::setMenuBarHeight(int height)
{
    menuBarHeight_ = height;
    if (menu_)
        menu_->setMenuBar(menuBarColor_, menuBarHeight_);
    layOut();
}

QSize TsuiForm::windowSizeFor(QSize panel) const
{
    const int top = TitleBarVisible() ? 0 : borderWidth_;
    return QSize(panel.width() + 2 * borderWidth_, panel.height() + borderWidth_ + top);
}

int TsuiForm::clientTop() const
{
    int top = TitleBarVisible() ? titleBar_->height() : 0;
    if (menu_)
        top += menuBarHeight_;
    return top;
}

void TsuiForm::moveContentBelowBars()
{
    const int top = clientTop();
    for (QObject* child : children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control->isWindow() || control == titleBar_ || control == menu_)
            continue;
        control->move(control->x(), control->y() + top);
    }
}

void TsuiForm::layOut()
{
    const QSize client = window_->size();
    const int bw = borderWidth_;
    const int top = TitleBarVisible() ? 0 : bw;
    setGeometry(bw, top, qMax(0, client.width() - 2 * bw), qMax(0, client.height() - bw - top));
    titleBar_->setGeometry(0, 0, width(), titleBar_->height());
    if (menu_)
        menu_->setGeometry(0, TitleBarVisible() ? titleBar_->height() : 0, width(), menuBarHeight_);
}

void TsuiForm::setMaximized(bool maximized)
{
    if (maximized == maximized_)
        return;
    if (maximized) {
        normalGeometry_ = window_->geometry();
        normalMinimum_ = window_->minimumSize();
        normalMaximum_ = window_->maximumSize();
        const QScreen* screen = window_->screen();
        const QRect area = screen ? screen->availableGeometry() : window_->geometry();
        window_->setMinimumSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        maximized_ = true;
        if (skin::windowSystemPlacesWindows())
            window_->setWindowState(window_->windowState() | Qt::WindowMaximized);
        else
            window_->setGeometry(area);
    } else {
        maximized_ = false;
        window_->setMinimumSize(normalMinimum_);
        window_->setMaximumSize(normalMaximum_);
        if (skin::windowSystemPlacesWindows())
            window_->setWindowState(window_->windowState() & ~Qt::WindowMaximized);
        else
            window_->setGeometry(normalGeometry_);
    }
    titleBar_->windowStateChanged();
}

// ---- the window's events ---------------------------------------------------------------------

bool TsuiForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        layOut();
        titleBar_->applyWindowShape();
        break;
    case QEvent::Paint: paintBorder(); break;
    case QEvent::ActivationChange: titleBar_->setFormActive(window_->isActiveWindow()); break;
    case QEvent::WindowTitleChange: titleBar_->setCaption(window_->windowTitle()); break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        return pressToResize(mouse, mouse->position().toPoint());
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        drag_.follow(mouse->globalPosition().toPoint());
        showResizeCursor(window_, mouse->position().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease: drag_.end(); break;
    default: break;
    }
    return false;
}

// The border strips and, above a hidden title bar, the top line, in BorderColor.
void TsuiForm::paintBorder()
{
    QPainter painter(window_);
    const QColor color = skin::toQColor(borderColor_);
    const int bw = borderWidth_, cw = window_->width(), ch = window_->height();
    painter.fillRect(0, 0, bw, ch, color);
    painter.fillRect(0, ch - bw, cw, bw, color);
    painter.fillRect(cw - bw, 0, bw, ch, color);
    painter.fillRect(0, 0, cw, bw, color);
}

void TsuiForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), Color);
    else
        painter.drawTiledPixmap(rect(), background_);
}

Qt::Edges TsuiForm::edgesAt(QPoint inWindow) const
{
    if (!sizeable_ || maximized_)
        return {};
    return skin::resizeEdgesAt(window_->size(), inWindow);
}

bool TsuiForm::pressToResize(QMouseEvent* event, QPoint inWindow)
{
    const Qt::Edges edges = edgesAt(inWindow);
    if (event->button() != Qt::LeftButton || !edges)
        return false;
    drag_.begin(window_, edges, event->globalPosition().toPoint());
    return true;
}

void TsuiForm::showResizeCursor(QWidget* under, QPoint inWindow)
{
    const Qt::Edges edges = edgesAt(inWindow);
    if (edges)
        under->setCursor(skin::resizeCursor(edges));
    else
        under->unsetCursor();
}

void TsuiForm::mousePressEvent(QMouseEvent* event)
{
    if (!pressToResize(event, mapTo(window_, event->position().toPoint())))
        QWidget::mousePressEvent(event);
}

void TsuiForm::mouseMoveEvent(QMouseEvent* event)
{
    drag_.follow(event->globalPosition().toPoint());
    showResizeCursor(this, mapTo(window_, event->position().toPoint()));
}

void TsuiForm::mouseReleaseEvent(QMouseEvent* event)
{
    drag_.end();
    QWidget::mouseReleaseEvent(event);
}
