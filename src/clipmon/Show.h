// The clipboard monitor: a small stay-on-top window that shows the last four clipboard contents,
// as a follower kept them from its own creation on. From an older slot the content can be put
// back on the clipboard; the clipboard can be emptied.
#pragma once

#include "ClipboardFollower.h"
#include "skin/ToolWindow.h"

#include <array>
#include <map>
#include <memory>

class TsuiButton;
class TsuiGroupBox;
class TsuiMemo;

namespace skin {
class ScaledImage;
}
namespace platform {
class Clipboard;
}

class TForm8 : public skin::ToolWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 208;
    static constexpr int kClientHeight = 360;
    // The window's top is this far above the bottom of the screen whenever it is shown afresh.
    static constexpr int kTopFromScreenBottom = 409;
    // How much of a text a view shows; the slot keeps the whole text.
    static constexpr int kShownTextLength = 4096;
    static inline const QColor kCaptionColor{2, 70, 207};

    // Shows what follower has kept and keeps following with it.
    explicit TForm8(clipmon::ClipboardFollower& follower);
    // The same with a follower of its own, which starts following now.
    explicit TForm8(platform::Clipboard& clipboard);
    ~TForm8() override;

    // Ends the following of the clipboard.
    void leaveClipboardChain();

    const clipmon::ClipboardHistory& history() const { return follower_.history(); }
    // Slots are numbered 1 to 4 from the top; button(1) is "清空剪贴板".
    TsuiGroupBox* groupBox(int slot) const { return groupBoxes_.at(size_t(slot - 1)); }
    TsuiButton* button(int slot) const { return buttons_.at(size_t(slot - 1)); }
    TsuiMemo* textView(int slot) const { return textViews_.at(size_t(slot - 1)); }
    skin::ScaledImage* pictureView(int slot) const { return pictureViews_.at(size_t(slot - 1)); }

private:
    void suiButton1Click();  // 清空剪贴板
    void suiButton2Click();  // 设置为当前, slot 2
    void suiButton3Click();  // 设置为当前, slot 3
    void suiButton4Click();  // 设置为当前, slot 4
    TForm8(std::unique_ptr<clipmon::ClipboardFollower> own);
    void FormCreate();
    void buildSlot(int slot);
    void restoreSlot(int slot);
    // Closing only hides the window; the next showing starts at the first place again.
    void placeForNextShowing() override;
    void showHistory();
    void showSlot(int slot, std::map<qint64, QPixmap>& previews);

    std::unique_ptr<clipmon::ClipboardFollower> ownFollower_;  // only when made with a clipboard
    clipmon::ClipboardFollower& follower_;
    // Scaled copies of the pictures on show, by QImage::cacheKey(), so a picture that moves to
    // the next slot is not scaled again.
    std::map<qint64, QPixmap> previews_;

    std::array<TsuiGroupBox*, 4> groupBoxes_{};
    std::array<TsuiButton*, 4> buttons_{};                   // suiButton1 .. suiButton4
    std::array<TsuiMemo*, 4> textViews_{};                   // RichEdit1 .. RichEdit4
    std::array<skin::ScaledImage*, 4> pictureViews_{};    // Image1 .. Image4
};
