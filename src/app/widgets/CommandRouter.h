#pragma once

#include <QHash>
#include <QString>

#include <functional>

namespace tracella {

// Runs commands by the name of their menu item ("mnuDataSave"). Menus,
// toolbar keys and other windows all reach commands through it, so no
// command needs the main window.
class CommandRouter {
public:
    void add(const QString& name, std::function<void()> command);
    // False when no command of that name exists (nothing runs).
    bool run(const QString& name) const;
    bool has(const QString& name) const { return commands_.contains(name); }
    // The command of that name, to wrap it; empty when there is none.
    std::function<void()> command(const QString& name) const { return commands_.value(name); }

private:
    QHash<QString, std::function<void()>> commands_;
};

} // namespace tracella
