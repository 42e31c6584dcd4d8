#include "notify/brightel_autostart.h"

#include "util/strings.h"
#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

namespace {

bool FirstWritePending = true;

constexpr TAutostartKind Kinds[] = {TAutostartKind::EveryLogon, TAutostartKind::NextLogon};

} // namespace

void TBrightelAutostart::ArmFirstWriteRule() {
    FirstWritePending = true;
}

TBrightelAutostart::TBrightelAutostart(std::unique_ptr<TAutostartEntries> Entries, QString ProgramPath)
    : FEntries(std::move(Entries)), FProgramPath(std::move(ProgramPath)) {
    if (FProgramPath.isEmpty())
        FProgramPath = QCoreApplication::applicationFilePath();
    FAppName = FromQString(QCoreApplication::applicationName()) + "#Autostart";
}

bool TBrightelAutostart::NameUsable() const {
    // The name becomes a file or value name: nothing that could reach outside its folder.
    return !FAppName.empty() && FAppName != "." && FAppName != ".." &&
           FAppName.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

bool TBrightelAutostart::IsSet(TAutostartKind Kind, bool Machine) {
    return NameUsable() && FEntries->IsSet(Kind, Machine, FAppName);
}

bool TBrightelAutostart::WriteEntry(TAutostartKind Kind, bool Machine, bool On) {
    if (FirstWritePending) {
        FirstWritePending = false;
        On = IsSet(TAutostartKind::EveryLogon, FGlobal);
    }
    if (!NameUsable())
        return false;
    if (On)
        return FEntries->Set(Kind, Machine, FAppName, FProgramPath);
    FEntries->Remove(Kind, Machine, FAppName);
    return false;
}

bool TBrightelAutostart::autostart() {
    return IsSet(TAutostartKind::EveryLogon, FGlobal);
}

void TBrightelAutostart::setAutostart(bool Value) {
    WriteEntry(TAutostartKind::EveryLogon, FGlobal, Value);
}

bool TBrightelAutostart::StartNextLogon() {
    return IsSet(TAutostartKind::NextLogon, FGlobal);
}

void TBrightelAutostart::setStartNextLogon(bool Value) {
    WriteEntry(TAutostartKind::NextLogon, FGlobal, Value);
}

void TBrightelAutostart::setAppName(const std::string& Name) {
    if (SameTextAscii(Name, FAppName))
        return;
    bool existed[2][2] = {}; // [kind][machine]
    for (int k = 0; k < 2; ++k) {
        for (int m = 0; m < 2; ++m) {
            existed[k][m] = IsSet(Kinds[k], m == 1);
            if (existed[k][m])
                FEntries->Remove(Kinds[k], m == 1, FAppName);
        }
    }
    FAppName = Name;
    // A move rewrites what existed; it is no new choice of the user's, so the first-write rule
    // does not apply to it.
    if (NameUsable()) {
        for (int k = 0; k < 2; ++k) {
            for (int m = 0; m < 2; ++m)
                if (existed[k][m])
                    FEntries->Set(Kinds[k], m == 1, FAppName, FProgramPath);
        }
    }
    autostart();
    StartNextLogon();
}

void TBrightelAutostart::setGlobal(bool Value) {
    if (Value && !FEntries->CanWriteMachine())
        Value = false;
    if (Value == FGlobal)
        return;
    for (TAutostartKind kind : Kinds) {
        // An entry leaves its old scope only once it exists in the new one.
        if (IsSet(kind, FGlobal) && FEntries->Set(kind, Value, FAppName, FProgramPath))
            FEntries->Remove(kind, FGlobal, FAppName);
    }
    FGlobal = Value;
}

} // namespace quillet
