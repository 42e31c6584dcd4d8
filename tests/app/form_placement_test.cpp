#include "app/form_placement.h"
#include "tests/support/temp_settings.h"

#include <QDialog>
#include <gtest/gtest.h>

using namespace quillet;

TEST(FormPlacement, SaveAndRestoreThroughTheStore) {
    test::TTempSettingsStore store;
    QDialog dialog;
    dialog.setObjectName("frmAskPassword");
    dialog.resize(300, 200);
    dialog.move(40, 60);

    // Nothing stored: the window stays where it was designed to open.
    RestoreFormPlacement(store, &dialog, false);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(40, 60));

    SaveFormPlacement(store, &dialog, false);
    EXPECT_EQ(store.ReadString("Dialogs", "frmAskPassword", ""), "40,60");

    store.WriteString("Dialogs", "frmAskPassword", "120,80,400,300");
    RestoreFormPlacement(store, &dialog, true);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(120, 80));
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(400, 300));
    SaveFormPlacement(store, &dialog, true);
    EXPECT_EQ(store.ReadString("Dialogs", "frmAskPassword", ""), "120,80,400,300");
}

TEST(FormPlacement, MaximizedWindowKeepsTheEarlierValue) {
    test::TTempSettingsStore store;
    QDialog dialog;
    dialog.setObjectName("dlg");
    store.WriteString("Dialogs", "dlg", "11,12");
    dialog.showMaximized();
    SaveFormPlacement(store, &dialog, false);
    EXPECT_EQ(store.ReadString("Dialogs", "dlg", ""), "11,12");
}
