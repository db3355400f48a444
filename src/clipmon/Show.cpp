#include "Show.h"

#include "platform/Clipboard.h"
#include "skin/Controls.h"
#include "skin/Messages.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int kGroupBoxLeft = 8;
constexpr int kGroupBoxTop = 37;  // below the title bar
constexpr int kGroupBoxStep = 80;
constexpr int kGroupBoxWidth = 186;
constexpr int kGroupBoxHeight = 72;
const QRect kButtonArea(8, 28, 80, 25);
const QRect kViewArea(98, 14, 80, 52);
constexpr int kTextPixelSize = 9;

const char* const kGroupCaptions[] = {"当前内容", "前1条内容", "前2条内容", "前3条内容"};

// Captions, buttons and texts in the monitor's blue, also where a control is disabled.
QPalette bluePalette(QPalette palette)
{
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, TForm8::kCaptionColor);
    return palette;
}

// The start of a long text, cut between whole characters.
QString shownPart(const QString& text)
{
    if (text.size() <= TForm8::kShownTextLength)
        return text;
    qsizetype length = TForm8::kShownTextLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace

TForm8::TForm8(platform::Clipboard& clipboard)
    : TForm8(std::make_unique<clipmon::ClipboardFollower>(clipboard))
{
}

TForm8::TForm8(std::unique_ptr<clipmon::ClipboardFollower> own) : TForm8(*own)
{
    ownFollower_ = std::move(own);
}

TForm8::~TForm8() = default;

TForm8::TForm8(clipmon::ClipboardFollower& follower)
    : skin::ToolWindow(QStringLiteral("监视剪贴板")), follower_(follower)
{
    // The frame lays its title bar and border strips out within this size.
    setFixedSize(kClientWidth, kClientHeight);
    for (int slot = 1; slot <= clipmon::ClipboardHistory::kSlotCount; ++slot)
        buildSlot(slot);
    connect(buttons_[0], &QPushButton::clicked, this, &TForm8::suiButton1Click);
    connect(buttons_[1], &QPushButton::clicked, this, &TForm8::suiButton2Click);
    connect(buttons_[2], &QPushButton::clicked, this, &TForm8::suiButton3Click);
    connect(buttons_[3], &QPushButton::clicked, this, &TForm8::suiButton4Click);
    FormCreate();
}

void TForm8::buildSlot(int slot)
{
    const size_t index = size_t(slot - 1);
    auto* box = new TsuiGroupBox(QString::fromUtf8(kGroupCaptions[index]), frame());
    box->setGeometry(kGroupBoxLeft, kGroupBoxTop + int(index) * kGroupBoxStep, kGroupBoxWidth,
                     kGroupBoxHeight);
    box->setFontColor(kCaptionColor);
    box->setPalette(bluePalette(box->palette()));

    auto* button = new TsuiButton(slot == 1 ? QStringLiteral("清空剪贴板")
                                            : QStringLiteral("设置为当前"), box);
    button->setGeometry(kButtonArea);

    auto* text = new TsuiMemo(box);
    text->setGeometry(kViewArea);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(kTextPixelSize);
    text->setFont(font);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setReadOnly(true);
    text->setEnabled(false);

    auto* picture = new skin::ScaledImage(box);
    picture->setGeometry(kViewArea);

    groupBoxes_[index] = box;
    buttons_[index] = button;
    textViews_[index] = text;
    pictureViews_[index] = picture;
}

// Shows what the follower holds and each change after it; then the window's first place.
void TForm8::FormCreate()
{
    connect(&follower_, &clipmon::ClipboardFollower::followed, this, &TForm8::showHistory);
    showHistory();
    placeForNextShowing();
}

void TForm8::leaveClipboardChain()
{
    follower_.leaveClipboardChain();
}

void TForm8::suiButton1Click()
{
    skin::guarded([this] { follower_.history().clear(); });
    showHistory();
}

void TForm8::suiButton2Click()
{
    restoreSlot(2);
}

void TForm8::suiButton3Click()
{
    restoreSlot(3);
}

void TForm8::suiButton4Click()
{
    restoreSlot(4);
}

// The change notice that follows shows the restored content in slot 1.
void TForm8::restoreSlot(int slot)
{
    skin::guarded([this, slot] { follower_.history().restore(slot); });
}

void TForm8::placeForNextShowing()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 0;
    move(0, screenHeight - kTopFromScreenBottom);
}

void TForm8::showHistory()
{
    const int level = history().fillLevel();
    buttons_[0]->setEnabled(level >= 1);
    for (int slot = 2; slot <= clipmon::ClipboardHistory::kSlotCount; ++slot)
        buttons_[size_t(slot - 1)]->setVisible(level >= slot);
    std::map<qint64, QPixmap> previews;
    for (int slot = 1; slot <= clipmon::ClipboardHistory::kSlotCount; ++slot)
        showSlot(slot, previews);
    previews_ = std::move(previews);
}

void TForm8::showSlot(int slot, std::map<qint64, QPixmap>& previews)
{
    using Kind = clipmon::HistorySlot::Kind;
    const clipmon::HistorySlot& content = history().slot(slot);
    TsuiMemo* text = textViews_[size_t(slot - 1)];
    skin::ScaledImage* picture = pictureViews_[size_t(slot - 1)];
    text->setVisible(content.kind == Kind::Text);
    picture->setVisible(content.kind == Kind::Picture);
    const QString shown = content.kind == Kind::Text ? shownPart(content.text) : QString();
    if (text->toPlainText() != shown)
        text->setPlainText(shown);
    if (content.kind != Kind::Picture) {
        picture->setScaledPicture({});
        return;
    }
    const qint64 key = content.picture.cacheKey();
    auto known = previews_.find(key);
    const QPixmap scaled = known != previews_.end()
                               ? known->second
                               : skin::stretchedCopy(content.picture, kViewArea.size());
    previews[key] = scaled;
    picture->setScaledPicture(scaled);
}
