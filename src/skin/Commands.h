// User commands. Each command is one QAction, made once from a table entry, owned by the window
// or pane that handles it and named by its id. Every menu, toolbar button, short-cut and test
// reaches the command through that one action, so a control can only run the command it shows.
#pragma once

#include <QAction>
#include <span>

class QAbstractButton;

namespace skin {

struct CommandEntry {
    const char* id;                  // the action's object name
    const char* caption;             // the menu text with its & mnemonic
    const char* shortcut = nullptr;  // portable key text, e.g. "Ctrl+T"
    const char* hint = nullptr;      // the tool tip where a toolbar shows the command as an icon
    bool checkable = false;
};

// Makes one action per entry, a direct child of owner; an id must not be taken under owner.
void makeCommands(QObject* owner, std::span<const CommandEntry> entries);

// The action made under id directly below owner. An unknown id is a programming error.
QAction* command(const QObject* owner, const char* id);

// Clicking the button triggers the command, and the button is enabled exactly when the command is.
void runsCommand(QAbstractButton* button, QAction* action);

} // namespace skin
