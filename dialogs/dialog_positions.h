// Where dialogs remember their positions: the main window offers its options store to the
// dialogs through this, so that a dialog touches no store of its own.
#pragma once

class QWidget;

namespace quillet {

class TDialogPositions {
public:
    virtual ~TDialogPositions() = default;
    // Moves Dialog (and with WithSize also sizes it) to where it was last left; nothing when no
    // position was remembered.
    virtual void LoadDialogPosition(QWidget* Dialog, bool WithSize) = 0;
    // Remembers where Dialog is now; nothing while it is minimized or maximized.
    virtual void SaveDialogPosition(QWidget* Dialog, bool WithSize) = 0;
};

} // namespace quillet
