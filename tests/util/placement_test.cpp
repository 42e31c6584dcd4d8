#include "util/form_placement.h"
#include "util/placement.h"
#include "util/settings_store.h"
#include "util/tools.h"

#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillet;

TEST(Placement, ApplyPlacementText) {
    const TPlacementRect designed{300, 200, 500, 400};
    struct Row {
        const char* text;
        bool withSize;
        TPlacementRect expected;
    } rows[] = {
        {"-1,-1", true, designed},        // no stored value
        {"0,50", false, designed},        // a left edge of 0 is no position
        {"5,0", false, {5, 0, 500, 400}}, // a top of 0 is
        {"2000,900", false, {1004, 748, 500, 400}},
        {"10,10,0,300", true, {10, 10, 500, 400}}, // a zero width keeps the designed size
        {"10,10,400,0", true, {10, 10, 500, 400}},
        {"10,10,400,300", true, {10, 10, 400, 300}},
        {"10,10,400,300", false, {10, 10, 500, 400}},
        {"-300,40", false, designed}, // secondary display to the left: not restored
        {"40,-300", false, designed},
        {"x,y", false, designed}, // damaged values convert to 0
        {"7,abc", false, {7, 0, 500, 400}},
        {"", false, designed},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ApplyPlacement(r.text, 1024, 768, designed, r.withSize), r.expected) << r.text;
}

TEST(Placement, TextForm) {
    EXPECT_EQ(PlacementText({120, 80, 400, 300}, true), "120,80,400,300");
    EXPECT_EQ(PlacementText({-5, 80, 400, 300}, false), "-5,80");
}

TEST(Tools, ValueChoosers) {
    EXPECT_EQ(IfThenStr(false, "ON", "OFF"), "OFF");
    EXPECT_EQ(IfThenStr(true, "ON", "OFF"), "ON");
    EXPECT_EQ(BoolToBit(true), 1);
    EXPECT_EQ(BoolToBit(false), 0);
    EXPECT_EQ(IfThenInt(true, 3, 4), 3);
}

namespace {

// A store over a temporary INI-format QSettings file: one group per section.
class TempStore : public TSettingsStore {
public:
    TempStore() : settings_(dir_.filePath("store.conf"), QSettings::IniFormat) {}
    std::string ReadString(const std::string& Section, const std::string& Name,
                           const std::string& Default) override {
        return settings_.value(QString::fromStdString(Section + "/" + Name), QString::fromStdString(Default))
            .toString()
            .toStdString();
    }
    void WriteString(const std::string& Section, const std::string& Name, const std::string& Value) override {
        settings_.setValue(QString::fromStdString(Section + "/" + Name), QString::fromStdString(Value));
    }

private:
    QTemporaryDir dir_;
    QSettings settings_;
};

} // namespace

TEST(FormPlacement, SaveAndRestoreThroughTheStore) {
    TempStore store;
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
    TempStore store;
    QDialog dialog;
    dialog.setObjectName("dlg");
    store.WriteString("Dialogs", "dlg", "11,12");
    dialog.showMaximized();
    SaveFormPlacement(store, &dialog, false);
    EXPECT_EQ(store.ReadString("Dialogs", "dlg", ""), "11,12");
}
