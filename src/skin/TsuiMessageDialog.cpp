#include "TsuiMessageDialog.h"

#include "MessageEcho.h"
#include "Messages.h"
#include "SkinPainting.h"
#include "TsuiButton.h"
#include "TsuiForm.h"

#include <QGuiApplication>
#include <QFontMetrics>
#include <QtMath>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTextLayout>

namespace {

constexpr int kTextTop = 64;
constexpr int kIconLeft = 24;
constexpr int kTextLeftBesideIcon = 88;
constexpr int kPictureBoxBottom = 104;  // the picture box before its icon is loaded: 40 high
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 20;
constexpr int kMessageIconFrames = 4;

skin::MessageKind kindOf(TsuiIconType icon)
{
    switch (icon) {
    case TsuiIconType::suiWarning: return skin::MessageKind::Warning;
    case TsuiIconType::suiStop: return skin::MessageKind::Stop;
    case TsuiIconType::suiInformation: return skin::MessageKind::Information;
    case TsuiIconType::suiHelp: return skin::MessageKind::Help;
    case TsuiIconType::suiNone: break;
    }
    return skin::MessageKind::None;
}

struct WrappedText {
    int lines = 1;
    int lineHeight = 0;  // of the tallest line, whichever fonts draw its characters
};

// The lines the text takes wrapped at width (an empty text keeps one line) and how far apart
// they stand: at least the font's own line spacing, more where a fallback font draws taller.
WrappedText wrapText(const QString& text, const QFont& font, int width)
{
    int lines = 0;
    qreal tallest = QFontMetricsF(font).lineSpacing();
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        int paragraphLines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            tallest = qMax(tallest, line.height());
            ++paragraphLines;
        }
        layout.endLayout();
        lines += qMax(1, paragraphLines);
    }
    return {qMax(1, lines), qCeil(tallest)};
}

// The text as the label shows it: "&" marks the access key and is not shown, "&&" shows one.
QString shownText(const QString& text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

} // namespace

TfrmMsg::TfrmMsg(QWidget* owner) : QDialog(owner)
{
    setModal(true);
    resize(kWidth, 130);
    suiForm1 = new TsuiForm(this);
    suiForm1->UIStyleAutoUpdateSub = true;
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose});
    setMinimumWidth(150);
    lbl = new QLabel(suiForm1);
    lbl->setWordWrap(true);
    lbl->setAttribute(Qt::WA_TranslucentBackground);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl->setGeometry(kTextLeftBesideIcon, kTextTop, kTextWidth, 12);
    Image1 = new QLabel(suiForm1);
    Image1->setGeometry(kIconLeft, kTextTop, 40, 40);
}

void TfrmMsg::reject()
{
    done(2);
}

void TfrmMsg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TsuiMessageDialog::TsuiMessageDialog(QWidget* owner, TsuiIconType icon)
    : QObject(owner), Font(skin::windowFont()), CaptionFont(skin::captionFont()), IconType(icon),
      owner_(owner)
{
}

int TsuiMessageDialog::ShowModal(TsuiIconType icon, const QString& text)
{
    IconType = icon;
    Text = text;
    return ShowModal();
}

int TsuiMessageDialog::ShowModal()
{
    const skin::ShownMessage message{Caption, Text, kindOf(IconType)};
    skin::echoMessage(message);
    if (skin::MessageSink* sink = skin::messageSink())
        return sink->take(message);
    const std::unique_ptr<TfrmMsg> window = buildWindow();
    return window->exec();
}

std::unique_ptr<TfrmMsg> TsuiMessageDialog::buildWindow() const
{
    auto window = std::make_unique<TfrmMsg>(owner_);
    window->setFont(Font);
    window->suiForm1->titleBar()->setFont(CaptionFont);
    QLabel* lbl = window->lbl;
    lbl->setFont(Font);
    lbl->setText(Text);
    // The label is as many lines high as the fonts that draw them space them, so every line is seen.
    const WrappedText wrapped = wrapText(shownText(Text), Font, TfrmMsg::kTextWidth);
    lbl->resize(TfrmMsg::kTextWidth, wrapped.lines * wrapped.lineHeight);
    const int a = qMax(kPictureBoxBottom, lbl->y() + lbl->height());

    if (IconType != TsuiIconType::suiNone) {
        lbl->move(kTextLeftBesideIcon, lbl->y());
        const QImage icon = skin::sliceStrip(skin::skinPicture(QStringLiteral("MSGDLG")),
                                             kMessageIconFrames, int(IconType));
        window->Image1->setPixmap(QPixmap::fromImage(icon));
        window->Image1->setGeometry(kIconLeft, kTextTop, icon.width(), icon.height());
    } else {
        lbl->move(kIconLeft, lbl->y());
        window->Image1->hide();
        if (ButtonCount < 3)
            window->resize(TfrmMsg::kWidthWithoutIcon, window->height());
    }

    const int count = qBound(1, ButtonCount, 3);
    const QString captions[] = {Button1Caption, Button2Caption, Button3Caption};
    const int results[] = {Button1ModalResult, Button2ModalResult, Button3ModalResult};
    const int W = window->width();
    window->buttons.assign(size_t(count), nullptr);
    for (int i = 0; i < count; ++i) {
        const int number = count - i;  // right to left: the last one made is Button1
        auto* button = new TsuiButton(captions[number - 1], window->suiForm1);
        button->setGeometry(W - 97 - (kButtonWidth + kButtonGap) * i, a + kButtonGap, kButtonWidth,
                            kButtonHeight);
        button->setCursor(ButtonCursor);
        button->setModalResult(results[number - 1]);
        button->setFont(Font);
        button->setFocus();
        window->buttons[size_t(number - 1)] = button;
    }
    // With a buddy the label underlines the character after "&" and shows "&&" as one.
    if (Text.contains(u'&'))
        lbl->setBuddy(window->buttons.front());
    window->resize(W, a + kButtonGap + kButtonHeight + kButtonGap);
    window->suiForm1->setCaption(Caption);
    window->suiForm1->setFileTheme(FileTheme);
    window->suiForm1->setUIStyle(UIStyle);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.x() + (area.width() - W) / 2, area.y() + (area.height() - window->height()) / 2);
    }
    return window;
}
