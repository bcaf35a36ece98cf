#include "app/services/Services.h"

namespace tracella {

Services& services()
{
    static Services instance;
    return instance;
}

MessageAnswer ShowMessage(const Message& message)
{
    return services().messages->show(message);
}

MessageAnswer ShowMessage(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons)
{
    return ShowMessage(Message{text, title, icon, buttons});
}

} // namespace tracella
