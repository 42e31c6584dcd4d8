#include "app/list_layout.h"
#include "app/mail_list_model.h"
#include "app/mail_row_texts.h"
#include "app/mail_sort_model.h"
#include "notify/sound_table.h"

#include <QEventLoop>
#include <QFont>
#include <QLocale>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <random>

namespace quillet::test {
namespace {

std::unique_ptr<TMail> Mail(std::string ID, std::string Subject = {}, std::int32_t Size = 0,
                            std::string Account = "Home") {
    auto m = std::make_unique<TMail>();
    m->UniqueID = std::move(ID);
    m->Subject = std::move(Subject);
    m->MailSize = Size;
    m->Account = std::move(Account);
    return m;
}

// The given locale as the user's for the life of the object.
struct TLocaleScope {
    QLocale saved;
    explicit TLocaleScope(const QLocale& L) { QLocale::setDefault(L); }
    ~TLocaleScope() { QLocale::setDefault(saved); }
};

// Column texts of every display row.
std::vector<std::string> Column(const QAbstractItemModel& M, int Col) {
    std::vector<std::string> out;
    for (int r = 0; r < M.rowCount(); ++r)
        out.push_back(M.index(r, Col).data().toString().toStdString());
    return out;
}

TEST(MailRowTexts, AddressCells) {
    struct {
        std::vector<std::string> names, addrs;
        const char* cell;
    } const rows[] = {
        {{"Ann Lee"}, {"ann.lee"}, "Ann Lee <ann.lee>"},
        {{""}, {"ann.lee"}, "<ann.lee>"},
        {{"Ann Lee"}, {""}, "Ann Lee <>"},
        {{""}, {""}, "<>"},
        {{"\t Ann\x01"},
         {" \x1f"
          "a@b \r"},
         "Ann\x01 <a@b>"},
        {{"A", "B"}, {"a1", "b2"}, "A <a1>, B <b2>"},
        {{}, {}, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AddressListCell(row.names, row.addrs), row.cell);
        TMail m;
        if (!row.names.empty()) {
            m.FromName = row.names[0];
            m.FromAddr = row.addrs[0];
            EXPECT_EQ(MailRowTexts(m).Cell(colFrom), AddressCellPiece(row.names[0], row.addrs[0]));
        }
    }
    EXPECT_EQ(MailRowTexts(TMail{}).Cell(colFrom), "<>");
}

TEST(MailRowTexts, SizesInKilobytes) {
    const std::pair<std::int32_t, const char*> rows[] = {
        {0, "0 KB"},    {1, "1 KB"},      {1024, "1 KB"},
        {1025, "2 KB"}, {-1, "0 KB"},     {500, "1 KB"},
        {3000, "3 KB"}, {70000, "69 KB"}, {INT32_MAX, "2097152 KB"},
    };
    for (const auto& [size, cell] : rows)
        EXPECT_EQ(SizeCell(size), cell) << size;
}

TEST(MailRowTexts, CaptionAndPictureFollowStateAndMark) {
    TMail m;
    m.UniqueID = "500B";
    EXPECT_EQ(MailRowTexts(m).Caption, "*");
    EXPECT_EQ(MailRowTexts(m).Picture, PictureEnvelope);
    EXPECT_EQ(MailRowTexts(m).Cell(colUniqueID), "500B");
    m.State = TMailState::Old;
    m.MarkedForDelete = true;
    EXPECT_EQ(MailRowTexts(m).Caption, "");
    EXPECT_EQ(MailRowTexts(m).Picture, PictureMarked);
}

TEST(MailRowTexts, DateCellsReadBackToTheirTime) {
    TLocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
    const TDateTime morning = EncodeDateTime(2024, 3, 5, 9, 41, 7);
    EXPECT_EQ(DateText(0), "");
    EXPECT_EQ(DateText(EncodeDateTime(2024, 3, 5)), "3/5/24");
    EXPECT_EQ(DateText(morning), "3/5/24 9:41:07 AM");
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German),
                                  QLocale(QLocale::Japanese), QLocale::c()}) {
        TLocaleScope scope(locale);
        for (const TDateTime v : {morning, EncodeDateTime(1999, 12, 31, 23, 59, 59),
                                  EncodeDateTime(2031, 1, 1), EncodeDateTime(2024, 2, 29, 12, 0, 1)})
            EXPECT_DOUBLE_EQ(CellDate(DateText(v)), v) << DateText(v) << " " << locale.name().toStdString();
    }
    for (const char* text : {"", "1/2", "abc", "yesterday", "13/45/24 9:00:00 AM"})
        EXPECT_EQ(CellDate(text), 0) << text;
}

TEST(MailRowTexts, CompareFollowsSortColumnAndDirection) {
    auto row = [](const char* Caption, const char* Subject, const char* Size, const char* Sent) {
        return MailRowFromCells(Caption, {"Home", "", "", Subject, Size, Sent, "", "ID"});
    };
    TLocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::string real = DateText(EncodeDateTime(1990, 1, 2, 3, 4, 5));
    struct {
        int col;
        TMailRow a, b;
        int ascending; // CompareMailRows with LargestFirst false; true gives the opposite sign
    } const rows[] = {
        {colSubject, row("", "abc", "", ""), row("", "ABC", "", ""), 0},
        {colSubject, row("", "a_", "", ""), row("", "aZ", "", ""), 1}, // letters fold to upper case
        {colSubject, row("", "ab", "", ""), row("", "abc", "", ""), -1},
        {colStt, row("*", "", "", ""), row("", "", "", ""), 1},
        {colSize, row("", "", "3 KB", ""), row("", "", "69 KB", ""), -1},
        {colSize, row("", "", "x KB", ""), row("", "", "0 KB", ""), 0},
        {colDateSent, row("", "", "", ""), row("", "", "", real.c_str()), -1},
        {colDateSent, row("", "", "", "1/2"), row("", "", "", ""), 0},
        {colUniqueID, row("", "", "", ""), row("", "", "", ""), 0},
        {42, row("", "", "1 KB", ""), row("", "", "2 KB", ""), -1}, // unknown column: Size
        {-1, row("", "", "2 KB", ""), row("", "", "1 KB", ""), 1},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(CompareMailRows(r.col, false, r.a, r.b), r.ascending) << r.col;
        EXPECT_EQ(CompareMailRows(r.col, true, r.a, r.b), -r.ascending) << r.col;
    }
}

TEST(MailRowTexts, MarkOneOrSeveral) {
    TMails mails;
    mails.Add(Mail("A"));
    mails.Add(Mail("B"));
    EXPECT_EQ(ToggleDeleteMarks(mails, {}), sndNone);
    EXPECT_EQ(ToggleDeleteMarks(mails, {-1}), sndNone);
    EXPECT_EQ(ToggleDeleteMarks(mails, {0}), sndDelete);
    EXPECT_TRUE(mails[0].MarkedForDelete);
    EXPECT_EQ(ToggleDeleteMarks(mails, {0}), sndUndelete);
    EXPECT_FALSE(mails[0].MarkedForDelete);
    mails[0].MarkedForDelete = true;
    EXPECT_EQ(ToggleDeleteMarks(mails, {0, 1}), sndDelete);
    EXPECT_FALSE(mails[0].MarkedForDelete);
    EXPECT_TRUE(mails[1].MarkedForDelete);
}

TEST(MailRowTexts, PropertiesText) {
    TLocaleScope us(QLocale(QLocale::English, QLocale::UnitedStates));
    TMail m;
    m.Account = "Home";
    m.ServerIdx = 3;
    m.UniqueID = "500B";
    m.ServerID = "<x@y>";
    m.FromAddr = "ann@lee";
    m.ToName = {"A", ""};
    m.ToAddr = {"a1", "b2"};
    m.CCName = {"C"};
    m.CCAddr = {""};
    m.DateSent = EncodeDateTime(2024, 3, 5, 9, 41, 7);
    m.MailSize = -1;
    m.Subject = "Hi";
    EXPECT_EQ(MailPropertiesText(m), "Account: \tHome\r\nNumber on the server: \t3\r\nIdentity: \t500B\r\n"
                                     "Message ID: \t<x@y>\r\n\r\nFrom: \t<ann@lee>\r\n"
                                     "To: \tA <a1>\r\nTo: \t<b2>\r\n"
                                     "Cc: \tC\r\n\r\nSent: \t3/5/24 9:41:07 AM\r\n"
                                     "Size: \tnot known\r\nSubject: \tHi\r\n");
}

TEST(MailRowTexts, DumpIDs) {
    TMails mails;
    mails.Add(Mail("500B", "", 0, "Home"));
    mails.Add(Mail("500B", "", 0, "Work"));
    EXPECT_EQ(DumpIDsLines(mails), (std::vector<std::string>{">>>DUMP", "500B - Home", "500B - Work",
                                                             "ERROR!!! ID match: 500B - Home"}));
    mails.Add(Mail("500B", "", 0, "Spare"));
    mails.Add(Mail("77", "", 0, "Home"));
    const auto lines = DumpIDsLines(mails);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ERROR!!! ID match: 500B - Home"), 2);
    EXPECT_EQ(lines.back(), "ERROR!!! ID match: 500B - Work");
    EXPECT_EQ(lines.size(), 1u + 4 + 3);
}

TEST(MailRowTexts, StatusTexts) {
    EXPECT_EQ(StatusTitle(0, 0), "Quillet, 0, 00:00");
    EXPECT_EQ(StatusTitle(12, EncodeDateTime(2024, 5, 1, 9, 41, 59)), "Quillet, 12, 09:41");
    EXPECT_EQ(MailsPanelText(3), "Mails: 3");
    EXPECT_EQ(CheckTimeText(EncodeDateTime(2024, 5, 1, 23, 5)), "23:05");
    // The status bar's panels say what their numbers are.
    const std::tuple<int, int, std::string, std::string> counts[] = {
        {30, 0, "Mails: 30", "30 mails in the list"},
        {30, 2, "Mails: 30 (2 marked)",
         "30 mails in the list; 2 are deleted from the server at the next check"},
        {1, 1, "Mails: 1 (1 marked)", "1 mail in the list; 1 is deleted from the server at the next check"},
    };
    for (const auto& [count, marked, text, hint] : counts) {
        EXPECT_EQ(MailsPanelText(count, marked), text);
        EXPECT_EQ(MailsPanelHint(count, marked), hint);
    }
    EXPECT_EQ(LastCheckPanelText(EncodeDateTime(2024, 5, 1, 6, 9, 30)), "Last check: 06:09");
    EXPECT_EQ(LastCheckPanelText(0), "Not checked yet");
}

// A marked mail says in every cell's tooltip what becomes of it; the Stt cell, a picture only,
// names a new mail.
TEST(MailRowTexts, CellToolTips) {
    TMail m;
    m.Subject = "Invoice";
    const std::string gone = "Deleted from the server at the next check";
    const struct {
        TMailState state;
        bool marked;
        int column;
        std::string tip;
    } rows[] = {
        {TMailState::New, false, colStt, "New mail"},
        {TMailState::Old, false, colStt, ""},
        {TMailState::Old, true, colStt, gone},
        {TMailState::New, true, colStt, "New mail\n" + gone},
        {TMailState::Old, false, colSubject, "Invoice"},
        {TMailState::Old, true, colSubject, "Invoice\n" + gone},
        {TMailState::Old, true, colDateSent, gone},
    };
    for (const auto& row : rows) {
        m.State = row.state;
        m.MarkedForDelete = row.marked;
        EXPECT_EQ(MailCellToolTip(MailRowTexts(m), row.column), row.tip) << row.column << " " << row.marked;
    }
}

// Fitted columns: each column but Subject as wide as its content needs, the account and the
// addresses within a share of the list, Subject the rest and never squeezed below three tenths
// while the addresses and the dates can still give way.
TEST(ListLayout, FittedColumnWidths) {
    const struct {
        const char* what;
        TColumnWidths needed;
        int available;
        TColumnWidths widths;
    } rows[] = {
        {"all fit", {26, 50, 150, 140, 300, 50, 130, 130}, 1200, {26, 50, 150, 140, 524, 50, 130, 130}},
        {"long addresses are limited",
         {26, 50, 500, 400, 300, 50, 130, 130},
         1200,
         {26, 50, 300, 154, 360, 50, 130, 130}},
        {"long account is limited",
         {26, 400, 100, 100, 300, 50, 130, 130},
         1200,
         {26, 150, 100, 100, 514, 50, 130, 130}},
        {"narrow list: To, then From give way",
         {26, 60, 200, 200, 300, 50, 130, 130},
         800,
         {26, 60, 84, 80, 240, 50, 130, 130}},
        {"too narrow for all: the dates give way too",
         {26, 60, 200, 200, 300, 50, 130, 130},
         400,
         {26, 60, 80, 80, 0, 50, 80, 80}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FittedColumnWidths(row.needed, row.available), row.widths) << row.what;
    EXPECT_TRUE(FirstStartColumnWidths({26, 60, 80, 80, 321, 60, 100, 100}));
    EXPECT_FALSE(FirstStartColumnWidths({26, 60, 81, 80, 100, 60, 100, 100}));
    EXPECT_EQ(ListHeightForShare(600, 0.45, 50, 100), 270);
    EXPECT_EQ(ListHeightForShare(600, 0.95, 50, 100), 500);
    EXPECT_EQ(ListHeightForShare(600, 0.01, 50, 100), 50);
}

// Three mails of 3000, 500 and 70000 bytes listed through the sort model.
struct MailList : ::testing::Test {
    TMails mails;
    TMailListModel list{mails};
    TMailSortModel sorted{list};
    void SetUp() override {
        list.AddMail(Mail("A", "mid", 3000));
        list.AddMail(Mail("B", "Zed", 500));
        list.AddMail(Mail("C", "alpha", 70000));
        list.ShowPendingRows();
    }
};

TEST_F(MailList, HeaderClicksChangeOrderAndPicture) {
    EXPECT_EQ(list.headerData(colDateRcvd, Qt::Horizontal).toString(), "Date received");
    EXPECT_EQ(Column(sorted, colSize), (std::vector<std::string>{"69 KB", "3 KB", "1 KB"}));
    EXPECT_EQ(sorted.index(0, colSize).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_EQ(sorted.ColumnClicked(colSubject), PictureSortDown);
    EXPECT_EQ(Column(sorted, colSubject), (std::vector<std::string>{"Zed", "mid", "alpha"}));
    EXPECT_EQ(sorted.ColumnClicked(colSubject), PictureSortUp);
    EXPECT_EQ(Column(sorted, colSubject), (std::vector<std::string>{"alpha", "mid", "Zed"}));
    EXPECT_EQ(sorted.ColumnClicked(colStt), PictureSortUp);
    EXPECT_EQ(sorted.SortCol(), colSubject);
    EXPECT_EQ(Column(sorted, colSubject), (std::vector<std::string>{"alpha", "mid", "Zed"}));
    sorted.SetSort(99, true);
    EXPECT_EQ(sorted.SortCol(), colSize);
}

TEST_F(MailList, MarkCommandSwapsPictures) {
    const auto picture = [&](int Row) {
        return sorted.index(Row, colStt).data(TMailListModel::PictureRole).toInt();
    };
    // A marked row is struck through in every column, and every column hears of it.
    int changedTo = -1;
    QObject::connect(&list, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex&, const QModelIndex& Last) { changedTo = Last.column(); });
    const auto struck = [&](int Row) {
        for (int column = 0; column < MailListColumns; ++column)
            if (!sorted.index(Row, column).data(Qt::FontRole).value<QFont>().strikeOut())
                return false;
        return true;
    };
    list.ToggleDeleteMarks(sorted.MailIndicesOfRows({0}));
    EXPECT_TRUE(struck(0));
    EXPECT_EQ(changedTo, MailListColumns - 1);
    EXPECT_EQ(sorted.index(0, colSubject).data(Qt::ToolTipRole).toString().toStdString(),
              std::string("alpha\n") + MarkedForDeletingHint);
    list.ToggleDeleteMarks(sorted.MailIndicesOfRows({0}));
    EXPECT_FALSE(struck(0));
    EXPECT_EQ(list.ToggleDeleteMarks(sorted.MailIndicesOfRows({0})), sndDelete);
    EXPECT_EQ(picture(0), PictureMarked);
    EXPECT_EQ(list.ToggleDeleteMarks(sorted.MailIndicesOfRows({0})), sndUndelete);
    EXPECT_EQ(picture(0), PictureEnvelope);
    list.ToggleDeleteMarks(sorted.MailIndicesOfRows({1}));
    EXPECT_EQ(list.ToggleDeleteMarks(sorted.MailIndicesOfRows({2, 1})), sndDelete);
    EXPECT_EQ(picture(1), PictureEnvelope);
    EXPECT_EQ(picture(2), PictureMarked);
}

TEST_F(MailList, NewRowsLandInOrderAndAreFoundAgain) {
    QTreeView view;
    view.setModel(&sorted);
    view.show();
    sorted.SetSort(colSubject, false);
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        list.AddMail(Mail("N" + std::to_string(i), std::to_string(random() % 1000),
                          static_cast<int>(random() % 9000)));
        if (i % 3 == 0)
            list.RemoveMail(static_cast<int>(random() % static_cast<unsigned>(mails.Count())));
    }
    mails.Add(Mail("late", "m")); // appended behind the model's back
    EXPECT_EQ(sorted.FindRow("late") >= 0, true);
    mails[mails.FindMail("late")].Subject = "0";
    list.MailChanged(mails.FindMail("late")); // moves to its new place
    EXPECT_EQ(sorted.FindRow("late"), 0);
    ASSERT_EQ(sorted.rowCount(), mails.Count());
    ASSERT_EQ(view.model()->rowCount(), mails.Count());
    for (int r = 0; r < sorted.rowCount(); ++r) {
        const int mail = sorted.MailIndexOfRow(r);
        ASSERT_GE(mail, 0);
        EXPECT_EQ(sorted.FindRow(mails[mail].UniqueID), r);
        EXPECT_EQ(sorted.index(r, 0).data(TMailListModel::UniqueIdRole).toString().toStdString(),
                  mails[mail].UniqueID);
        if (r > 0) {
            const TMailRow& before = list.Row(sorted.MailIndexOfRow(r - 1));
            EXPECT_LE(CompareMailRows(colSubject, false, before, list.Row(mail)), 0);
        }
    }
    EXPECT_EQ(sorted.FindRow("gone"), -1);
    EXPECT_EQ(sorted.MailIndexOfRow(-1), -1);
    EXPECT_EQ(sorted.MailIndexOfRow(sorted.rowCount()), -1);
}

TEST_F(MailList, QuickAddsShowTogetherAfterAShortWhile) {
    QTreeView view;
    view.setModel(&sorted);
    int inserts = 0;
    QObject::connect(&list, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    QObject::connect(&list, &QAbstractItemModel::dataChanged, [&] { ADD_FAILURE() << "nothing changed"; });
    list.MailChanged(0); // the same texts again: views hear nothing
    for (int i = 0; i < 50; ++i)
        list.AddMail(Mail("Q" + std::to_string(i), "", i * 2000));
    EXPECT_LT(sorted.rowCount(), mails.Count());
    QEventLoop wait;
    QTimer::singleShot(TMailListModel::ShowIntervalMs * 3, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(sorted.rowCount(), mails.Count());
    EXPECT_LE(inserts, 2); // one or two showings rather than 50
    EXPECT_EQ(sorted.index(0, colSize).data().toString().toStdString(), SizeCell(49 * 2000));
}

} // namespace
} // namespace quillet::test
