#include "Commands.h"

#include <QAbstractButton>
#include <cassert>

namespace skin {

void makeCommands(QObject* owner, std::span<const CommandSpec> specs)
{
    for (const CommandSpec& spec : specs) {
        assert(!owner->findChild<QAction*>(QLatin1String(spec.id), Qt::FindDirectChildrenOnly));
        auto* action = new QAction(QString::fromUtf8(spec.caption), owner);
        action->setObjectName(QLatin1String(spec.id));
        if (spec.shortcut)
            action->setShortcut(QKeySequence(QLatin1String(spec.shortcut)));
        if (spec.hint)
            action->setToolTip(QString::fromUtf8(spec.hint));
        action->setCheckable(spec.checkable);
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
