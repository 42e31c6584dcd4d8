// Where windows open: remembering where the user left a dialog (the window side of the
// placement text, read from and written to the "Dialogs" section of the options store under the
// window's object name), the size of the main window on a first start, and keeping every window
// inside the screen it is on.
#pragma once

#include <QList>
#include <QRect>
#include <string>

class QWidget;

namespace quillet {

class TSettingsStore;

void ApplyPlacementText(const std::string& Text, QWidget* Window, bool WithSize);
void RestoreFormPlacement(TSettingsStore& Store, QWidget* Window, bool WithSize);
void SaveFormPlacement(TSettingsStore& Store, QWidget* Window, bool WithSize);

// Of the screen areas Areas, the one that holds the largest part of Frame; when none holds any
// of it, the one nearest to it. An empty rectangle when Areas is empty.
QRect ScreenAreaFor(const QRect& Frame, const QList<QRect>& Areas);
// Frame cut to the size of Area where it is larger, and moved the least that puts it wholly
// inside Area.
QRect FitIntoArea(const QRect& Frame, const QRect& Area);
// The outer geometry of the main window on a first start: most of Area (a list and a message
// can both be read), not larger than a comfortable reading size, centred.
QRect FirstStartGeometry(const QRect& Area);

// The available geometries of the screens (without panels and docks), the primary one first.
QList<QRect> AvailableScreenAreas();
// Moves, and where needed shrinks, Window so that its outer frame lies inside the available
// area of the screen it is on. Nothing happens to a maximized or minimized window.
void FitIntoScreen(QWidget* Window);
// Gives Window the outer geometry Frame (position and size include the window frame).
void SetFrameGeometry(QWidget* Window, const QRect& Frame);

} // namespace quillet
