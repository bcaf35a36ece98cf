#include "app/widgets/Sounds.h"

#include "app/core/AppState.h"
#include "app/services/Services.h"

#include <QCoreApplication>
#include <QFile>

namespace tracella {

void PlayResourceSound(int id)
{
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(id));
    if (file.open(QIODevice::ReadOnly)) {
        // Kept until the next sound: playback reads from this memory.
        appState().SoundData = file.readAll();
        if (services().sound)
            services().sound->play(appState().SoundData);
    }
    QCoreApplication::processEvents();
}

} // namespace tracella
