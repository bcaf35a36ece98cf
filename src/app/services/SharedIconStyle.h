#pragma once

#include <QIcon>
#include <QProxyStyle>

#include <map>
#include <utility>

namespace tracella {

// The application style, handing out one icon per standard pixmap. Qt's
// style builds a new icon on every call, and the pixmap cache keys each
// icon's pixmaps by that icon: every dialog's buttons then left a few
// kilobytes in the cache, round after round of work.
class SharedIconStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

private:
    mutable std::map<std::pair<StandardPixmap, Qt::LayoutDirection>, QIcon> icons_;
};

// Makes SharedIconStyle the application's style, over the style in use.
void ShareStandardIcons();

} // namespace tracella
