// The options the program runs by, in one place: the options dialog and the window's own
// commands change them here, and the window and the check follow every change. The program
// entry owns it; it outlives the window.
#pragma once

#include "settings/main_settings.h"

#include <QObject>
#include <functional>

namespace quillet {

class TAppSettings : public QObject {
    Q_OBJECT
public:
    explicit TAppSettings(QObject* Parent = nullptr);

    const TMainSettings& Values() const { return FValues; }
    // Replaces every value; Changed follows when any value differs.
    void Set(const TMainSettings& Values);
    // Changes some values: Edit([](TMainSettings& S) { S.MaxLines = 10; }).
    void Edit(const std::function<void(TMainSettings&)>& Change);

Q_SIGNALS:
    // Some value changed: whoever follows a value applies it now.
    void Changed();

private:
    TMainSettings FValues;
};

} // namespace quillet
