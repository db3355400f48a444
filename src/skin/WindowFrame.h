// What the controls on a window's frame panel ask of the frame: whether the window is maximised
// or can be resized from its edges, and to maximise or restore it.
#pragma once

namespace skin {

class WindowFrame {
public:
    virtual bool isMaximized() const = 0;
    virtual void setMaximized(bool maximized) = 0;
    virtual bool Sizeable() const = 0;

protected:
    ~WindowFrame() = default;
};

} // namespace skin
