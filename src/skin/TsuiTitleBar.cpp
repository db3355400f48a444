#include "TsuiTitleBar.h"

#include "Messages.h"
#include "SkinPainting.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>

namespace {

using Type = TsuiTitleBarBtnType;
constexpr int kTitleButtonFrames = 18;

// The first frame (1-based) of a kind's three pictures in the title button strip; 0 for none.
int firstFrameOf(Type type, bool maximized)
{
    switch (type) {
    case Type::suiControlBox: return 1;
    case Type::suiHelp: return 4;
    case Type::suiMax: return maximized ? 10 : 7;
    case Type::suiMin: return 13;
    case Type::suiClose: return 16;
    case Type::suiCustom: break;
    }
    return 0;
}

bool inside(const QRect& r, QPoint at)
{
    // The rectangle's right and bottom edges count as inside.
    return !r.isNull() && at.x() >= r.left() && at.x() <= r.left() + r.width() && at.y() >= r.top() &&
           at.y() <= r.top() + r.height();
}

} // namespace

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(QWidget* parent) : TsuiPopupMenu(parent)
{
    Minimize = addAction(QStringLiteral("Minimize"));
    MaximizeRestore = addAction(QStringLiteral("Maximize/Restore"));
    addSeparator();
    Close = addAction(QStringLiteral("Close"));
}

TsuiTitleBar::TsuiTitleBar(QWidget* parent, skin::WindowFrame* frame)
    : QWidget(parent), skin::StyledControl(this, skin::defaultStyleFor(parent), [this] { applyStyle(); }),
      frame_(frame), windowMenu_(new TsuiTitleBarPopupMenu(this))
{
    setFont(skin::captionFont());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (Type type : {Type::suiControlBox, Type::suiClose, Type::suiMax, Type::suiMin})
        addButton(type);
    connect(windowMenu_, &QMenu::aboutToShow, this, &TsuiTitleBar::prepareWindowMenu);
    connect(windowMenu_->Minimize, &QAction::triggered, this,
            [this] { performAction(firstButtonOf(Type::suiMin)); });
    connect(windowMenu_->MaximizeRestore, &QAction::triggered, this,
            [this] { performAction(firstButtonOf(Type::suiMax)); });
    connect(windowMenu_->Close, &QAction::triggered, this, [this] { window()->close(); });
    applyStyle();
}

// ---- collections -----------------------------------------------------------------------------

int TsuiTitleBar::addButton(Type type)
{
    TsuiTitleBarButton added;
    added.Transparent = style_.boolean(StyleEntry::TitleBarButtonTransparentBool);
    added.Top = style_.integer(StyleEntry::TitleBarButtonTopInt);
    buttons_.push_back(added);
    const int index = buttonCount() - 1;
    if (!setButtonType(index, type))
        setButtonType(index, Type::suiCustom);
    return index;
}

bool TsuiTitleBar::setButtonType(int index, Type type)
{
    Q_ASSERT(index >= 0 && index < buttonCount());
    if (type == Type::suiControlBox && firstButtonOf(Type::suiControlBox) >= 0 &&
        button(index).ButtonType != Type::suiControlBox) {
        skin::showErrorBox(kOneControlBoxOnly);
        return false;
    }
    TsuiTitleBarButton& changed = buttons_[size_t(index)];
    changed.ButtonType = type;
    loadButtonPictures(changed);
    update();
    return true;
}

void TsuiTitleBar::setButtonPictures(int index, const QImage& normal, const QImage& mouseOn,
                                     const QImage& mouseDown)
{
    TsuiTitleBarButton& changed = buttons_.at(size_t(index));
    changed.PicNormal = normal;
    changed.PicMouseOn = mouseOn;
    changed.PicMouseDown = mouseDown;
    update();
}

void TsuiTitleBar::clearButtons()
{
    buttons_.clear();
    update();
}

void TsuiTitleBar::setButtons(std::initializer_list<Type> types)
{
    clearButtons();
    for (Type type : types)
        addButton(type);
}

int TsuiTitleBar::addSection()
{
    sections_.push_back({});
    update();
    return sectionCount() - 1;
}

bool TsuiTitleBar::setSectionAlign(int index, TsuiTitleBarAlign align)
{
    Q_ASSERT(index >= 0 && index < sectionCount());
    if (align == TsuiTitleBarAlign::suiClient && section(index).Align != TsuiTitleBarAlign::suiClient) {
        for (const TsuiTitleBarSection& other : sections_) {
            if (other.Align == TsuiTitleBarAlign::suiClient) {
                skin::showErrorBox(kOneClientSectionOnly);
                return false;
            }
        }
    }
    TsuiTitleBarSection& changed = sections_[size_t(index)];
    changed.Align = align;
    if (align == TsuiTitleBarAlign::suiClient)
        changed.Stretch = true;
    update();
    return true;
}

void TsuiTitleBar::fitHeight()
{
    if (!sections_.empty() && !sections_.front().Picture.isNull())
        setFixedHeight(sections_.front().Picture.height());
}

int TsuiTitleBar::firstButtonOf(Type type) const
{
    for (int i = 0; i < buttonCount(); ++i)
        if (button(i).ButtonType == type)
            return i;
    return -1;
}

// ---- style -----------------------------------------------------------------------------------

void TsuiTitleBar::loadButtonPictures(TsuiTitleBarButton& button) const
{
    const int first = firstFrameOf(button.ButtonType, windowMaximized());
    if (first == 0)
        return;
    button.PicNormal = style_.bitmap(StyleEntry::TitleBarButtonImage, first, kTitleButtonFrames);
    button.PicMouseOn = style_.bitmap(StyleEntry::TitleBarButtonImage, first + 1, kTitleButtonFrames);
    button.PicMouseDown = style_.bitmap(StyleEntry::TitleBarButtonImage, first + 2, kTitleButtonFrames);
}

void TsuiTitleBar::applyStyle()
{
    sections_.clear();
    const struct { skin::StyleEntry picture; TsuiTitleBarAlign align; bool autoSize; } pieces[] = {
        {StyleEntry::TitleBarLeftImage, TsuiTitleBarAlign::suiLeft, true},
        {StyleEntry::TitleBarRightImage, TsuiTitleBarAlign::suiRight, true},
        {StyleEntry::TitleBarClientImage, TsuiTitleBarAlign::suiClient, false}};
    for (const auto& piece : pieces) {
        TsuiTitleBarSection section;
        section.Align = piece.align;
        section.AutoSize = piece.autoSize;
        section.Stretch = piece.align == TsuiTitleBarAlign::suiClient;
        section.Picture = style_.bitmap(piece.picture);
        if (section.AutoSize && !section.Picture.isNull())
            section.Width = section.Picture.width();
        sections_.push_back(section);
    }
    leftBtnXOffset_ = style_.integer(StyleEntry::TitleBarButtonLeftOffsetInt);
    rightBtnXOffset_ = style_.integer(StyleEntry::TitleBarButtonRightOffsetInt);
    outlineColor_ = skin::toQColor(style_.color(StyleEntry::FormBorderColor));
    buttonBandHeight_ = style_.bitmap(StyleEntry::TitleBarButtonImage).height();
    captionTop_ = style_.integer(StyleEntry::TitleBarButtonTopInt);
    if (onFrameWindow())
        window()->setMinimumWidth(qMax(0, style_.integer(StyleEntry::FormMinWidthInt)));
    roundCorner_ = style_.integer(StyleEntry::FormRoundCornerInt);
    for (TsuiTitleBarButton& button : buttons_) {
        loadButtonPictures(button);
        button.Transparent = style_.boolean(StyleEntry::TitleBarButtonTransparentBool);
        button.Top = style_.integer(StyleEntry::TitleBarButtonTopInt);
    }
    windowMenu_->setFileTheme(style_.fileTheme());
    windowMenu_->setUIStyle(style_.uiStyle());
    applyWindowShape();
    if (!style_.resolved().useTheme)
        fontColor_ = style_.resolved().style == TsuiUIStyle::MacOS ? Qt::black : Qt::white;
    fitHeight();
    update();
}

// ---- window ----------------------------------------------------------------------------------

bool TsuiTitleBar::onFrameWindow() const
{
    return frame_ != nullptr;
}

bool TsuiTitleBar::windowMaximized() const
{
    return frame_ ? frame_->isMaximized() : window()->isMaximized();
}

void TsuiTitleBar::toggleMaximized()
{
    if (frame_)
        frame_->setMaximized(!frame_->isMaximized());
    else
        window()->setWindowState(window()->windowState() ^ Qt::WindowMaximized);
    windowStateChanged();
}

void TsuiTitleBar::windowStateChanged()
{
    for (TsuiTitleBarButton& button : buttons_)
        if (button.ButtonType == Type::suiMax)
            loadButtonPictures(button);
    update();
}

QRegion skin::roundTopRegion(QSize window, int corner)
{
    const int w = window.width(), h = window.height();
    QRegion shape(0, 0, w, h);
    if (corner <= 0 || w <= 0 || h <= 0)
        return shape;
    // Each of the top rows of a corner loses the pixels outside its ellipse.
    const double radius = corner / 2.0;
    for (int y = 0; y < int(std::ceil(radius)) && y < h; ++y) {
        const double dy = radius - (y + 0.5);
        const double dx = std::sqrt(qMax(0.0, radius * radius - dy * dy));
        const int cut = qBound(0, int(std::lround(radius - dx)), w / 2);
        if (cut == 0)
            continue;
        shape -= QRegion(0, y, cut, 1);
        shape -= QRegion(w - cut, y, cut, 1);
    }
    return shape;
}

void TsuiTitleBar::applyWindowShape()
{
    if (!onFrameWindow())
        return;
    QWidget* frameWindow = window();
    const QRegion shape = skin::roundTopRegion(frameWindow->size(), roundCorner_);
    if (roundCorner_ <= 0)
        frameWindow->clearMask();
    else
        frameWindow->setMask(shape);
    frameWindow->update();
}

// ---- placement and painting ------------------------------------------------------------------

QString TsuiTitleBar::shortCaption(const QString& caption)
{
    // The first two bytes of the caption in the Chinese code page: one Chinese character or two
    // Latin letters.
    QStringEncoder encoder("GB18030");
    QString start;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < caption.size();) {
        const qsizetype length = caption.at(i).isHighSurrogate() && i + 1 < caption.size() ? 2 : 1;
        const QString character = caption.mid(i, length);
        const qsizetype size = QByteArray(encoder.encode(character)).size();
        if (bytes + size > 2)
            break;
        start += character;
        bytes += size;
        i += length;
    }
    if (start.isEmpty())
        start = caption.left(caption.at(0).isHighSurrogate() ? 2 : 1);
    return start + QStringLiteral("...");
}

TsuiTitleBar::Placement TsuiTitleBar::placement() const
{
    Placement at;
    at.buttons.resize(buttons_.size());
    int x = width() + rightBtnXOffset_ + 1;
    int controlBox = -1;
    for (int i = 0; i < buttonCount(); ++i) {
        const TsuiTitleBarButton& b = button(i);
        if (!b.Visible)
            continue;
        if (b.ButtonType == Type::suiControlBox) {
            controlBox = i;
            continue;
        }
        x -= b.PicNormal.width() + 1;
        at.buttons[size_t(i)] = QRect(QPoint(x, b.Top), b.PicNormal.size());
    }
    int left = leftBtnXOffset_;
    if (controlBox >= 0) {
        const TsuiTitleBarButton& box = button(controlBox);
        at.buttons[size_t(controlBox)] = QRect(QPoint(left, box.Top), box.PicNormal.size());
        left += box.PicNormal.width() + 5;
    }
    if (left == 0)
        left = 6;
    at.captionLeft = left;
    at.captionRight = x;
    const int captionWidth = QFontMetrics(font()).horizontalAdvance(caption_);
    at.shownCaption = captionWidth > x - left && !caption_.isEmpty() ? shortCaption(caption_) : caption_;
    return at;
}

int TsuiTitleBar::buttonAt(QPoint at) const
{
    const Placement placed = placement();
    for (int i = 0; i < buttonCount(); ++i)
        if (inside(placed.buttons[size_t(i)], at))
            return i;
    return -1;
}

void TsuiTitleBar::paintSections(QPainter& painter) const
{
    int left = -1, right = width() + 1;
    const TsuiTitleBarSection* client = nullptr;
    for (const TsuiTitleBarSection& s : sections_) {
        switch (s.Align) {
        case TsuiTitleBarAlign::suiLeft:
            if (s.Stretch)
                painter.drawImage(QRect(left + 1, 0, s.Width, height()), s.Picture);
            else
                painter.drawImage(left + 1, 0, s.Picture);
            left += s.Width;
            break;
        case TsuiTitleBarAlign::suiRight:
            if (right - left < s.Width)
                break;
            if (s.Stretch)
                painter.drawImage(QRect(right - 1 - s.Width, 0, s.Width, height()), s.Picture);
            else
                painter.drawImage(right - 1 - s.Width, 0, s.Picture);
            right -= s.Width;
            break;
        case TsuiTitleBarAlign::suiClient: client = &s; break;
        }
    }
    if (client && !client->Picture.isNull())
        painter.drawImage(QRect(left + 1, 0, right - 1 - (left + 1), height()), client->Picture);
}

void TsuiTitleBar::paintButtonsAndCaption(QPainter& painter) const
{
    const Placement placed = placement();
    const int hot = buttonAt(mouse_);
    for (int i = 0; i < buttonCount(); ++i) {
        const TsuiTitleBarButton& b = button(i);
        const QRect& r = placed.buttons[size_t(i)];
        if (r.isNull())
            continue;
        QImage picture = i == hot ? (pressed_ ? b.PicMouseDown : b.PicMouseOn) : b.PicNormal;
        if (picture.isNull())
            continue;
        if (b.Transparent)
            picture = skin::withTransparentColor(picture, picture.pixelColor(0, picture.height() - 1));
        painter.drawImage(r.topLeft(), picture);
    }
    painter.setFont(font());
    painter.setPen(formActive_ ? fontColor_ : skin::kInactiveCaptionText);
    const int textHeight = QFontMetrics(font()).height();
    const int y = (buttonBandHeight_ - textHeight) / 2 + captionTop_;
    painter.drawText(QRect(placed.captionLeft, y, qMax(0, width() - placed.captionLeft), textHeight),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, placed.shownCaption);
}

void TsuiTitleBar::paintEvent(QPaintEvent*)
{
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(outlineColor_);
    {
        QPainter painter(&canvas);
        paintSections(painter);
        paintButtonsAndCaption(painter);
        const TsuiUIStyle effective = style_.resolved().style;
        if (effective != TsuiUIStyle::WinXP && roundCorner_ != 0) {
            painter.setPen(outlineColor_);
            painter.setBrush(Qt::NoBrush);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.drawRoundedRect(QRect(-1, 0, width() + 2, height() + 50), (roundCorner_ + 1) / 2.0,
                                    roundCorner_ / 2.0);
        }
    }
    QPainter(this).drawImage(0, 0, canvas);
}

// ---- mouse -----------------------------------------------------------------------------------

Qt::Edges TsuiTitleBar::topResizeEdges(QPoint at) const
{
    if (!frame_ || !frame_->Sizeable() || frame_->isMaximized() || at.y() >= skin::kResizeZone)
        return {};
    const QPoint inWindow = mapTo(window(), at);
    Qt::Edges edges = Qt::TopEdge;
    if (inWindow.x() <= 4)
        edges |= Qt::LeftEdge;
    else if (inWindow.x() > window()->width() - skin::kResizeZone)
        edges |= Qt::RightEdge;
    return edges;
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent* event)
{
    mouse_ = event->position().toPoint();
    drag_.follow(event->globalPosition().toPoint());
    const Qt::Edges edges = topResizeEdges(mouse_);
    if (edges)
        setCursor(skin::resizeCursor(edges));
    else
        unsetCursor();
    update();
}

void TsuiTitleBar::leaveEvent(QEvent*)
{
    mouse_ = QPoint(-10000, -10000);
    update();
}

void TsuiTitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mouse_ = event->position().toPoint();
    if (secondClickOnControlBox()) {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->hide();
        window()->close();
        return;
    }
    pressed_ = true;
    update();
    const Qt::Edges edges = topResizeEdges(mouse_);
    if (edges) {
        pressed_ = false;
        drag_.begin(window(), edges, event->globalPosition().toPoint());
    } else if (hotButton() < 0 && !windowMaximized()) {
        pressed_ = false;
        drag_.begin(window(), {}, event->globalPosition().toPoint());
    }
}

bool TsuiTitleBar::secondClickOnControlBox()
{
    const int hot = hotButton();
    const bool second = hot >= 0 && button(hot).ButtonType == Type::suiControlBox
                        && sinceControlBoxMenu_.isValid()
                        && sinceControlBoxMenu_.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval();
    sinceControlBoxMenu_.invalidate();
    return second;
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    drag_.end();
    mouse_ = event->position().toPoint();
    const int hot = hotButton();
    const bool wasPressed = pressed_;
    pressed_ = false;
    update();
    if (wasPressed && hot >= 0)
        performAction(hot);
}

void TsuiTitleBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    mouse_ = event->position().toPoint();
    const int hot = hotButton();
    if (hot < 0)
        performAction(firstButtonOf(Type::suiMax));
    else if (button(hot).ButtonType == Type::suiControlBox)
        window()->close();
}

void TsuiTitleBar::performAction(int index)
{
    if (index < 0 || index >= buttonCount())
        return;
    const TsuiTitleBarButton& b = button(index);
    switch (b.ButtonType) {
    case Type::suiMax: toggleMaximized(); break;
    case Type::suiMin: window()->showMinimized(); break;
    case Type::suiClose: window()->close(); break;
    case Type::suiControlBox: {
        QMenu* menu = b.ControlBoxMenu ? static_cast<QMenu*>(b.ControlBoxMenu) : windowMenu_;
        if (menu == windowMenu_)
            prepareWindowMenu();
        menu->popup(mapToGlobal(QPoint(0, height())));
        sinceControlBoxMenu_.start();
        break;
    }
    case Type::suiHelp: emit HelpBtnClick(index); break;
    case Type::suiCustom: emit CustomBtnsClick(index); break;
    }
}

void TsuiTitleBar::prepareWindowMenu()
{
    windowMenu_->Minimize->setEnabled(firstButtonOf(Type::suiMin) >= 0);
    windowMenu_->MaximizeRestore->setEnabled(firstButtonOf(Type::suiMax) >= 0);
    windowMenu_->Close->setEnabled(firstButtonOf(Type::suiClose) >= 0);
}
