#include "settings/app_settings.h"

namespace quillet {

TAppSettings::TAppSettings(QObject* Parent) : QObject(Parent) {}

void TAppSettings::Set(const TMainSettings& Values) {
    if (Values == FValues)
        return;
    FValues = Values;
    Q_EMIT Changed();
}

void TAppSettings::Edit(const std::function<void(TMainSettings&)>& Change) {
    TMainSettings values = FValues;
    Change(values);
    Set(values);
}

} // namespace quillet
