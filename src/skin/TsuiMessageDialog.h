// A window's own message box: ShowModal(icon, text) shows one message in a skinned message
// window built for it and returns its answer.
#pragma once

#include "Style.h"

#include <QDialog>
#include <QFont>
#include <QObject>
#include <QString>
#include <memory>

class QLabel;
class TsuiButton;
class TsuiFileTheme;
class TsuiForm;

enum class TsuiIconType : quint8 { suiNone, suiWarning, suiStop, suiInformation, suiHelp };

// The message window: the text wrapped at 225 pixels beside its icon, a row of buttons under
// it. Escape does nothing; the title bar's close button answers 2.
class TfrmMsg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 336;
    static constexpr int kWidthWithoutIcon = 272;
    static constexpr int kTextWidth = 225;
    explicit TfrmMsg(QWidget* owner);

    TsuiForm* suiForm1;
    QLabel* lbl;
    QLabel* Image1;
    std::vector<TsuiButton*> buttons;  // left to right: Button1, Button2, Button3

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class TsuiMessageDialog : public QObject {
    Q_OBJECT
public:
    // Made as every window of the program stores it: caption "提示", one button "确定".
    TsuiMessageDialog(QWidget* owner, TsuiIconType icon);

    TsuiFileTheme* FileTheme = nullptr;
    QString Caption = QStringLiteral("提示");
    TsuiUIStyle UIStyle = TsuiUIStyle::WinXP;
    QFont Font;
    QFont CaptionFont;
    QString Text = QStringLiteral("Hello world!");
    TsuiIconType IconType = TsuiIconType::suiNone;
    int ButtonCount = 1;
    QString Button1Caption = QStringLiteral("确定");
    QString Button2Caption = QStringLiteral("Cancel");
    QString Button3Caption = QStringLiteral("Cancel");
    int Button1ModalResult = 1;
    int Button2ModalResult = 2;
    int Button3ModalResult = 2;
    Qt::CursorShape ButtonCursor = Qt::ArrowCursor;

    // Shows the message modally in a window built for it; the modal result of the pressed
    // button, 2 when closed. With a message sink installed the sink takes the message instead.
    int ShowModal();
    // Sets the icon and the text, then shows the message: the one call every window uses.
    int ShowModal(TsuiIconType icon, const QString& text);

    // The message window for the present properties, sized to the text, not shown.
    std::unique_ptr<TfrmMsg> buildWindow() const;

private:
    QWidget* owner_;
};
