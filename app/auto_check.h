// Auto checking: the check timer, its interval in minutes, and the caption and picture that
// say whether it is on.
#pragma once

#include <QString>

class QTimer;

namespace quillet {

class TAutoCheck {
public:
    // The longest interval a timer can hold, in whole minutes (about 24 days).
    static constexpr int MaxMinutes = 35791;

    // Timer belongs to the caller; it is stopped here until CheckingActive is set.
    explicit TAutoCheck(QTimer& Timer);

    // Minutes x 60000 milliseconds, kept within 0..MaxMinutes. Reading gives the interval in whole minutes.
    void SetAutoCheckTime(int Minutes);
    int AutoCheckTime() const;

    void SetCheckingActive(bool Value);
    bool CheckingActive() const { return FCheckingActive; }

    // The timer runs only when auto checking is on and the interval is not 0: a zero interval
    // never fires (a timer would otherwise fire without pause).
    bool TimerRuns() const;

    // "Auto checking is ON" or "Auto checking is OFF": the hint of the toolbar button and the
    // caption of the menu items.
    QString Caption() const;
    // The button picture: 4 (green light) when on, 5 (red light) when off.
    int Picture() const;

private:
    void UpdateTimer();

    QTimer& FTimer;
    bool FCheckingActive = false;
};

} // namespace quillet
