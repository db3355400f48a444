// Reaching a window's commands as the user does: through the one action made under the
// command's id, never by calling the handler behind it.
#pragma once

#include "skin/Commands.h"

#include <QAction>

namespace testing_support {

// Runs the command made under id by owner, as its menu item, button or short-cut would.
inline void trigger(const QObject& owner, const char* id)
{
    skin::command(&owner, id)->trigger();
}

} // namespace testing_support

#include <QMenu>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <string>

namespace testing_support {

// The ids of owner's commands that run while act does its work, in order.
inline QStringList commandsRunBy(const QObject& owner, const std::function<void()>& act)
{
    QStringList run;
    QList<QMetaObject::Connection> connections;
    for (QAction* action : owner.findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        connections << QObject::connect(action, &QAction::triggered,
                                        [&run, action] { run << action->objectName(); });
    act();
    for (const QMetaObject::Connection& connection : connections)
        QObject::disconnect(connection);
    return run;
}

// What a menu shows, item by item: a command's id, "-" for a separator, and a submenu's
// caption followed by its items in brackets.
inline QStringList menuCommands(const QMenu* menu)
{
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else if (action->menu())
            items << action->text() + u'[' + menuCommands(action->menu()).join(u' ') + u']';
        else
            items << action->objectName();
    }
    return items;
}

} // namespace testing_support

#include <QAbstractButton>
#include <QWidget>

namespace testing_support {

// Clicks the window's button of that object name as the user would: a disabled button does
// nothing.
inline void click(const QWidget& window, const char* button)
{
    auto* found = window.findChild<QAbstractButton*>(QLatin1String(button));
    if (!found)
        throw std::logic_error(std::string("no button named ") + button);
    found->click();
}

} // namespace testing_support
