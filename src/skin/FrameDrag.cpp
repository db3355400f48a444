#include "FrameDrag.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace skin {

// The toolkit names its Wayland plugins "wayland", "wayland-egl" and so on.
bool windowSystemPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

Qt::Edges resizeEdgesAt(QSize window, QPoint at)
{
    Qt::Edges edges;
    if (at.x() < kResizeZone)
        edges |= Qt::LeftEdge;
    if (at.x() > window.width() - kResizeZone)
        edges |= Qt::RightEdge;
    if (at.y() < kResizeZone)
        edges |= Qt::TopEdge;
    if (at.y() > window.height() - kResizeZone)
        edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape resizeCursor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = (edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

void FrameDrag::begin(QWidget* window, Qt::Edges edges, QPoint globalPos)
{
    window_ = nullptr;
    QWindow* handle = window ? window->windowHandle() : nullptr;
    if (!handle)
        return;
    const bool byManager = edges ? handle->startSystemResize(edges) : handle->startSystemMove();
    if (byManager)
        return;
    window_ = window;
    edges_ = edges;
    pressedAt_ = globalPos;
    startGeometry_ = window->geometry();
}

void FrameDrag::follow(QPoint globalPos)
{
    if (!window_)
        return;
    const QPoint offset = globalPos - pressedAt_;
    if (!edges_) {
        window_->move(startGeometry_.topLeft() + offset);
        return;
    }
    window_->setGeometry(resized(startGeometry_, edges_, offset, window_->minimumSize(),
                                 window_->maximumSize()));
}

QRect FrameDrag::resized(QRect start, Qt::Edges edges, QPoint offset, QSize minimum, QSize maximum)
{
    QRect r = start;
    auto limitWidth = [&](int w) { return qBound(minimum.width(), w, maximum.width()); };
    auto limitHeight = [&](int h) { return qBound(minimum.height(), h, maximum.height()); };
    if (edges & Qt::LeftEdge)
        r.setLeft(start.right() + 1 - limitWidth(start.width() - offset.x()));
    if (edges & Qt::RightEdge)
        r.setWidth(limitWidth(start.width() + offset.x()));
    if (edges & Qt::TopEdge)
        r.setTop(start.bottom() + 1 - limitHeight(start.height() - offset.y()));
    if (edges & Qt::BottomEdge)
        r.setHeight(limitHeight(start.height() + offset.y()));
    return r;
}

} // namespace skin
