// Moving and resizing a frameless window: the edge zones a point lies in, and a drag that lets
// the window manager move or resize the window, or follows the mouse itself where no window
// manager offers that.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

namespace skin {

// Whether the window system places the windows and ignores the positions a program gives them
// (Wayland): there a window is moved, resized and maximised by asking the window system.
bool windowSystemPlacesWindows();

// Width of the zone along each edge of a sizeable window where a press resizes it.
constexpr int kResizeZone = 5;

// The edges a point in window coordinates lies near (x < 5, y < 5, x > width − 5,
// y > height − 5); none when the point is farther in.
Qt::Edges resizeEdgesAt(QSize window, QPoint at);
// The cursor shape that shows the resize under those edges.
Qt::CursorShape resizeCursor(Qt::Edges edges);

// One drag of a window, started by a left press on one of its widgets.
class FrameDrag {
public:
    // Starts moving (no edges) or resizing (edges) window from the press at globalPos.
    void begin(QWidget* window, Qt::Edges edges, QPoint globalPos);
    // Follows the mouse when the window manager does not; does nothing otherwise.
    void follow(QPoint globalPos);
    void end() { window_ = nullptr; }
    bool following() const { return window_ != nullptr; }

    // The geometry a resize from start by the mouse offset gives, kept within the limits.
    static QRect resized(QRect start, Qt::Edges edges, QPoint offset, QSize minimum, QSize maximum);

private:
    QWidget* window_ = nullptr;
    Qt::Edges edges_;
    QPoint pressedAt_;
    QRect startGeometry_;
};

} // namespace skin
