#include "app/window_lifecycle.h"

namespace quillet {

void TStartSequence::Activated(TStartHost& Host) {
    if (FDone)
        return;
    FDone = true;
    if (!Host.LoadSettings())
        return;
    if (Host.StartMinimized())
        Host.MinimizeApp();
    if (!Host.HasAccounts())
        Host.SetupAccounts();
    if (Host.HasAccounts())
        Host.CheckAll();
}

} // namespace quillet
