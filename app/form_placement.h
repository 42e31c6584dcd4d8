// Remembering where the user left a dialog: the window side of the placement text, read from
// and written to the "Dialogs" section of the options store under the window's object name.
#pragma once

#include <string>

class QWidget;

namespace quillet {

class TSettingsStore;

void ApplyPlacementText(const std::string& Text, QWidget* Window, bool WithSize);
void RestoreFormPlacement(TSettingsStore& Store, QWidget* Window, bool WithSize);
void SaveFormPlacement(TSettingsStore& Store, QWidget* Window, bool WithSize);

} // namespace quillet
