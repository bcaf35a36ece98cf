#include "app/widgets/CommandRouter.h"

namespace tracella {

void CommandRouter::add(const QString& name, std::function<void()> command)
{
    commands_.insert(name, std::move(command));
}

bool CommandRouter::run(const QString& name) const
{
    const auto it = commands_.constFind(name);
    if (it == commands_.constEnd())
        return false;
    const auto command = it.value(); // a command may replace itself while running
    command();
    return true;
}

} // namespace tracella
