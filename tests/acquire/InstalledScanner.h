#pragma once

#include "acquire/ScanDoubles.h"
#include "acquire/widgets/Scanner.h"

namespace tracella::test {

// Makes a scanner over the fake library the program's scanner for its
// lifetime. Its source dialog takes the scripted choices (nullopt = Cancel).
class InstalledScanner {
public:
    InstalledScanner() : previous_(InstallScanner(&scanner)) {}
    ~InstalledScanner() { InstallScanner(previous_); }
    InstalledScanner(const InstalledScanner&) = delete;
    InstalledScanner& operator=(const InstalledScanner&) = delete;

    FakeScanLibrary library;
    std::deque<std::optional<QString>> choices;
    struct Offer {
        QStringList names;
        QString current;
    };
    std::vector<Offer> offers;
    Scanner scanner{library, [this](QWidget*, const QList<ScanSource>& sources, const QString& current) {
                        Offer offer{{}, current};
                        for (const ScanSource& s : sources)
                            offer.names << s.name;
                        offers.push_back(offer);
                        std::optional<QString> choice;
                        if (!choices.empty()) {
                            choice = choices.front();
                            choices.pop_front();
                        }
                        return choice;
                    }};

private:
    Scanner* previous_;
};

} // namespace tracella::test
