// A window's own message box: ShowModal(icon, text) shows one message and returns its answer.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

enum class TsuiIconType : quint8 { suiNone, suiWarning, suiStop, suiInformation, suiHelp };

class TsuiMessageDialog : public QObject {
    Q_OBJECT
public:
    // Made as every window of the program stores it: caption "提示", one button "确定".
    TsuiMessageDialog(QWidget* owner, TsuiIconType icon);

    QString Caption = QStringLiteral("提示");
    QString Text = QStringLiteral("Hello world!");
    TsuiIconType IconType = TsuiIconType::suiNone;
    int ButtonCount = 1;
    QString Button1Caption = QStringLiteral("确定");
    QString Button2Caption = QStringLiteral("Cancel");
    QString Button3Caption = QStringLiteral("Cancel");
    int Button1ModalResult = 1;
    int Button2ModalResult = 2;
    int Button3ModalResult = 2;

    // Shows the message modally; the modal result of the pressed button, 2 when closed.
    int ShowModal();
    // Sets the icon and the text, then shows the message: the one call every window uses.
    int ShowModal(TsuiIconType icon, const QString& text);

private:
    QWidget* owner_;
};
