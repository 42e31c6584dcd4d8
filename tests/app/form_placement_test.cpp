#include "app/form_placement.h"
#include "tests/support/temp_settings.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
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

// A window comes back on the screen it was left on, moved and cut as little as needed to lie
// wholly inside it; a window outside every screen goes to the nearest one.
TEST(FormPlacement, FittedIntoTheScreen) {
    const QRect left(0, 0, 1280, 770), right(1280, 0, 1920, 1050);
    const struct {
        const char* what;
        QRect frame;
        QRect area;
        QRect fitted;
    } rows[] = {
        {"fits as it is", {100, 50, 800, 600}, left, {100, 50, 800, 600}},
        {"larger than the screen (a double scale)", {0, 0, 1600, 1000}, left, {0, 0, 1280, 770}},
        {"past the bottom edge", {900, 500, 300, 400}, left, {900, 370, 300, 400}},
        {"past the right edge, mostly on the first screen",
         {1100, 100, 300, 200},
         left,
         {980, 100, 300, 200}},
        {"above and left of the screen", {-50, -20, 640, 480}, left, {0, 0, 640, 480}},
        {"mostly on the second screen", {1100, 100, 800, 600}, right, {1280, 100, 800, 600}},
        {"on no screen: the nearest", {5000, 2000, 800, 600}, right, {2400, 450, 800, 600}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScreenAreaFor(row.frame, {left, right}), row.area) << row.what;
        EXPECT_EQ(FitIntoArea(row.frame, row.area), row.fitted) << row.what;
    }
    EXPECT_EQ(FirstStartGeometry({0, 0, 1280, 770}), QRect(64, 38, 1152, 693));
    EXPECT_EQ(FirstStartGeometry({0, 30, 2560, 1410}), QRect(680, 305, 1200, 860));
}

// A dialog remembered at a place that does not fit the screen any more comes back inside it.
TEST(FormPlacement, RestoredDialogFitsTheScreen) {
    test::TTempSettingsStore store;
    QDialog dialog;
    dialog.setObjectName("frmOptions");
    dialog.resize(300, 200);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Twice the screen's width, close to its bottom right corner.
    store.WriteString("Dialogs", "frmOptions",
                      std::to_string(screen.right() - 40) + "," + std::to_string(screen.bottom() - 30) + "," +
                          std::to_string(2 * screen.width()) + ",300");
    RestoreFormPlacement(store, &dialog, true);
    EXPECT_TRUE(screen.contains(dialog.frameGeometry()))
        << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
    EXPECT_EQ(dialog.frameGeometry().width(), screen.width());
}
