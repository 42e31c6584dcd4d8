// Ends the program in good order when the desktop session or a service manager asks it to
// (SIGTERM, SIGINT, SIGHUP on Linux): the event loop is told to quit, so that the window goes
// the ordinary way and saves the settings. A signal only writes a byte to a pipe; the rest runs
// in the event loop.
#pragma once

#include <QObject>

namespace quillet {

class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TTerminationSignals(QObject* Parent = nullptr);
    ~TTerminationSignals() override;

Q_SIGNALS:
    void TerminationRequested();
};

} // namespace quillet
