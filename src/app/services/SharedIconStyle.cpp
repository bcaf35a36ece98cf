#include "app/services/SharedIconStyle.h"

#include <QApplication>

namespace tracella {

QIcon SharedIconStyle::standardIcon(StandardPixmap pixmap, const QStyleOption* option, const QWidget* widget) const
{
    // An option can ask for another state or direction: not shared.
    if (option)
        return QProxyStyle::standardIcon(pixmap, option, widget);
    const auto key = std::pair(pixmap, QGuiApplication::layoutDirection());
    auto found = icons_.find(key);
    if (found == icons_.end())
        found = icons_.emplace(key, QProxyStyle::standardIcon(pixmap, nullptr, widget)).first;
    return found->second;
}

void ShareStandardIcons()
{
    if (dynamic_cast<SharedIconStyle*>(QApplication::style()))
        return;
    // The proxy owns its base: a fresh one by name, not the application's.
    QApplication::setStyle(new SharedIconStyle(QApplication::style()->name()));
}

} // namespace tracella
