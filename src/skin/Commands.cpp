#include "Commands.h"

#include <QAbstractButton>
#include <cassert>

namespace skin {

void makeCommands(QObject* owner, std::span<const CommandEntry> entries)
{
    for (const CommandEntry& entry : entries) {
        assert(!owner->findChild<QAction*>(QLatin1String(entry.id), Qt::FindDirectChildrenOnly));
        auto* action = new QAction(QString::fromUtf8(entry.caption), owner);
        action->setObjectName(QLatin1String(entry.id));
        if (entry.shortcut)
            action->setShortcut(QKeySequence(QLatin1String(entry.shortcut)));
        if (entry.hint)
            action->setToolTip(QString::fromUtf8(entry.hint));
        action->setCheckable(entry.checkable);
    }
}

QAction* command(const QObject* owner, const char* id)
{
    QAction* action = owner->findChild<QAction*>(QLatin1String(id), Qt::FindDirectChildrenOnly);
    assert(action && "a command is used under an id it was never made with");
    return action;
}

void runsCommand(QAbstractButton* button, QAction* action)
{
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    QObject::connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
    button->setEnabled(action->isEnabled());
}

} // namespace skin
