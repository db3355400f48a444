#include "TsuiMessageDialog.h"

#include "Messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

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

QMessageBox::Icon boxIconOf(TsuiIconType icon)
{
    switch (icon) {
    case TsuiIconType::suiWarning: return QMessageBox::Warning;
    case TsuiIconType::suiStop: return QMessageBox::Critical;
    case TsuiIconType::suiInformation: return QMessageBox::Information;
    case TsuiIconType::suiHelp: return QMessageBox::Question;
    case TsuiIconType::suiNone: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

TsuiMessageDialog::TsuiMessageDialog(QWidget* owner, TsuiIconType icon)
    : QObject(owner), IconType(icon), owner_(owner)
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
    if (skin::MessageSink* sink = skin::messageSink())
        return sink->take({Caption, Text, kindOf(IconType)});
    QMessageBox box(boxIconOf(IconType), Caption, Text, QMessageBox::NoButton, owner_);
    const QString captions[] = {Button1Caption, Button2Caption, Button3Caption};
    const int results[] = {Button1ModalResult, Button2ModalResult, Button3ModalResult};
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (int i = 0; i < ButtonCount && i < 3; ++i)
        buttons.emplace_back(box.addButton(captions[i], QMessageBox::AcceptRole), results[i]);
    box.exec();
    for (const auto& [button, result] : buttons)
        if (box.clickedButton() == button)
            return result;
    return 2;
}
