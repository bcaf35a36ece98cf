#pragma once

#include "acquire/ScanLibrary.h"

#include <QDialog>

class QListWidget;

namespace tracella {

// The list of image sources the scanner library found, to pick one from.
class SourceDialog : public QDialog {
    Q_OBJECT
public:
    SourceDialog(const QList<ScanSource>& sources, const QString& current, QWidget* parent = nullptr);

    // The highlighted source's name; empty when there is none.
    QString selectedSource() const;

    // Shows the dialog modally; nullopt when the user cancels.
    static std::optional<QString> choose(QWidget* owner, const QList<ScanSource>& sources, const QString& current);

private:
    QListWidget* list_ = nullptr;
};

} // namespace tracella
