#pragma once
// The protocol's progress in the case window's status bar while vorlanex-protocol makes it: a bar
// of the parts printed (moving until the first part is done) and a button that stops it.
#include <QWidget>

class QProgressBar;
class QPushButton;

namespace vorlanex::spis {

class ProtocolExport;

class ProtocolProgress final : public QWidget {
    Q_OBJECT
public:
    // Shown while `protocol` runs, hidden otherwise.
    explicit ProtocolProgress(ProtocolExport* protocol, QWidget* parent = nullptr);

    int value() const;
    int maximum() const;

private:
    QProgressBar* bar_;
    QPushButton* cancel_;
};

}  // namespace vorlanex::spis
