// Helpers for driving modal dialogs in tests: a step that runs once the next modal dialog shows,
// and a record of the positions the dialogs load and save.
#pragma once

#include "dialogs/dialog_positions.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillet::test {

// Runs Step with the modal dialog that is showing when the event loop next runs (the one that
// exec() is about to open).
inline void OnNextModal(std::function<void(QWidget*)> Step) {
    QTimer::singleShot(0, [Step] { Step(QApplication::activeModalWidget()); });
}

// A control of a dialog by its name; a missing one fails the test.
template <typename T> T* Child(const QWidget* Dialog, const char* Name) {
    T* child = Dialog->findChild<T*>(QString::fromLatin1(Name));
    if (child == nullptr)
        ADD_FAILURE() << "no control " << Name;
    return child;
}

class TRecordingPositions : public TDialogPositions {
public:
    void LoadDialogPosition(QWidget* Dialog, bool) override {
        Loads.push_back(Dialog->objectName().toStdString());
    }
    void SaveDialogPosition(QWidget* Dialog, bool) override {
        Saves.push_back(Dialog->objectName().toStdString());
    }
    std::vector<std::string> Loads, Saves;
};

} // namespace quillet::test
