// The main window with mail in its list: columns and panes that use the window, marks that can
// be seen and counted, status panels that say what they show, the System pane that follows its
// log, the single-account commands and the list's menu from the keyboard, and windows that come
// back inside the screen.
#include "app/check_controller.h"
#include "app/form_placement.h"
#include "app/mail_list_model.h"
#include "app/mail_list_view.h"
#include "app/mail_row_texts.h"
#include "app/pane_splitter.h"
#include "app/systray.h"
#include "tests/app/window_test_support.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

// A started window with its check controller (as the program has it) and no account.
struct TListWindow {
    TWindowBench Bench;
    std::unique_ptr<TfrmMain> Window;
    TCheckController* Controller = nullptr;

    explicit TListWindow(bool TrayAvailable = false) {
        Window = Bench.MakeWindow(TrayAvailable);
        Controller = new TCheckController(*Window, Bench.Accounts, Bench.Mails); // owned by the window
        TWindowBench::Start(*Window);
    }
    // Mails as a check lists them; From is the sender's name.
    void AddMails(int Count, const std::string& From = "Ann Lee") {
        for (int i = 0; i < Count; ++i) {
            auto mail = std::make_unique<TMail>();
            mail->UniqueID = From + std::to_string(Bench.Mails.Count());
            mail->Account = "Home";
            mail->FromName = From;
            mail->FromAddr = "ann@example.org";
            mail->ToName = {"Bob"};
            mail->ToAddr = {"bob@example.org"};
            mail->Subject = "Minutes of the meeting, number " + std::to_string(i);
            mail->MailSize = 3000 + i;
            mail->DateSent = EncodeDateTime(2024, 6, 1, 9, 30, 15);
            mail->DateRcvd = EncodeDateTime(2024, 6, 1, 9, 31, 0);
            Controller->AddMail(std::move(mail));
        }
        QTest::qWait(TMailListModel::ShowIntervalMs * 3); // rows are shown, columns fitted
    }
    TMailListView* List() const { return Window->MailList(); }
    TPaneSplitter* Splitter() const { return Window->findChild<TPaneSplitter*>("splMain"); }
    QString Panel(TStatusPanel Panel) const { return Window->StatusPanel(Panel)->text(); }
    // Selects display row Row and makes it current.
    void Select(int Row) const {
        List()->setCurrentIndex(List()->model()->index(Row, 0));
        List()->setFocus();
    }
};

int Sections(const QHeaderView* Header) {
    int sum = 0;
    for (int column = 0; column < Header->count(); ++column)
        sum += Header->sectionSize(column);
    return sum;
}

} // namespace

// A first start opens large enough for a list; the columns fit their content once mail is
// listed and Subject takes the rest; the list keeps its share of the height as the window grows;
// a column the user sized keeps its width.
TEST(MainWindowList, ColumnsAndPanesUseTheWindow) {
    TListWindow w;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w.Window->frameGeometry(), FirstStartGeometry(screen));
    w.Window->resize(1280, 800); // the test screen is smaller than a desktop's
    w.AddMails(12);
    QHeaderView* header = w.List()->header();
    EXPECT_EQ(Sections(header), w.List()->viewport()->width()) << "no room left over, no scrolling";
    for (int column = 0; column < MailListColumns; ++column) {
        if (column == colSubject)
            continue;
        EXPECT_GE(header->sectionSize(column), w.List()->ColumnContentWidth(column)) << "cut: " << column;
        EXPECT_LT(header->sectionSize(column), header->sectionSize(colSubject)) << column;
    }

    TPaneSplitter* splitter = w.Splitter();
    const double share = static_cast<double>(splitter->ListHeight()) / splitter->PaneTotal();
    EXPECT_NEAR(share, 0.45, 0.01);
    const int before = splitter->ListHeight();
    w.Window->resize(w.Window->width(), w.Window->height() - 200);
    EXPECT_LT(splitter->ListHeight(), before);
    EXPECT_NEAR(static_cast<double>(splitter->ListHeight()) / splitter->PaneTotal(), share, 0.01);
    splitter->setSizes({100, splitter->PaneTotal() - 100}); // as a drag of the handle leaves it
    const double dragged = 100.0 / splitter->PaneTotal();
    w.Window->resize(w.Window->width(), w.Window->height() + 150);
    EXPECT_NEAR(static_cast<double>(splitter->ListHeight()) / splitter->PaneTotal(), dragged, 0.01);

    header->resizeSection(colFrom, 90); // the user's width
    w.AddMails(3, "Someone with a much longer name than anyone before");
    EXPECT_EQ(header->sectionSize(colFrom), 90);
    EXPECT_EQ(Sections(header), w.List()->viewport()->width());
}

// A mail marked for deleting is struck through and its tooltip says what becomes of it; the
// status bar counts the marked mails.
TEST(MainWindowList, MarkedMailsAreStruckThroughAndCounted) {
    TListWindow w;
    w.AddMails(3);
    w.Select(1);
    EXPECT_EQ(w.Panel(TStatusPanel::MailCount), "Mails: 3");
    w.Window->Action(TCommand::MailDelete)->trigger();
    const QAbstractItemModel* model = w.List()->model();
    for (int column = 0; column < MailListColumns; ++column) {
        EXPECT_TRUE(model->index(1, column).data(Qt::FontRole).value<QFont>().strikeOut()) << column;
        EXPECT_TRUE(model->index(1, column)
                        .data(Qt::ToolTipRole)
                        .toString()
                        .endsWith("Deleted from the server at the next check"))
            << column;
        EXPECT_FALSE(model->index(0, column).data(Qt::FontRole).value<QFont>().strikeOut()) << column;
    }
    EXPECT_EQ(w.Panel(TStatusPanel::MailCount), "Mails: 3 (1 marked)");
    EXPECT_EQ(w.Window->StatusPanel(TStatusPanel::MailCount)->toolTip(),
              "3 mails in the list; 1 is deleted from the server at the next check");
    w.Window->Action(TCommand::MailDelete)->trigger();
    EXPECT_EQ(w.Panel(TStatusPanel::MailCount), "Mails: 3");
    EXPECT_FALSE(model->index(1, colSubject).data(Qt::FontRole).value<QFont>().strikeOut());
}

// The panels say what their numbers are; the System pane shows its newest line unless the user
// has scrolled up to read, and Ctrl+End brings it back to the end.
TEST(MainWindowList, StatusPanelsAndTheSystemLog) {
    TListWindow w;
    EXPECT_EQ(w.Panel(TStatusPanel::MailCount), "Mails: 0");
    EXPECT_EQ(w.Panel(TStatusPanel::LastCheck), "Not checked yet");
    for (const TStatusPanel panel :
         {TStatusPanel::Messages, TStatusPanel::MailCount, TStatusPanel::LastCheck, TStatusPanel::Clock}) {
        EXPECT_FALSE(w.Window->StatusPanel(panel)->toolTip().isEmpty()) << static_cast<int>(panel);
        EXPECT_FALSE(w.Window->StatusPanel(panel)->accessibleName().isEmpty()) << static_cast<int>(panel);
    }
    w.Window->ShowStatusText("Home: connecting");
    EXPECT_EQ(w.Window->StatusPanel(TStatusPanel::Messages)->toolTip(), "Home: connecting");

    QTextEdit* log = w.Window->SystemPane();
    QScrollBar* bar = log->verticalScrollBar();
    const auto addLines = [&](int Count) {
        for (int i = 0; i < Count; ++i)
            w.Window->AppendSystemLine(QStringLiteral("12:00:%1 >Home: a line of the log").arg(i));
        QTest::qWait(20);
    };
    addLines(200); // while the Message pane is shown
    w.Window->ShowDetailTab(2);
    QTest::qWait(20);
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum()) << "the newest line is in view";
    addLines(5);
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(bar->maximum() / 2); // the user reads further up
    const int reading = bar->value();
    addLines(5);
    EXPECT_EQ(bar->value(), reading) << "what the user reads stays put";

    w.Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.Window.get()));
    log->setFocus();
    // The caret stops at the document's margin, less than a line from either end.
    const int line = log->fontMetrics().lineSpacing();
    QTest::keyClick(log, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_LT(bar->value(), line);
    QTest::keyClick(log, Qt::Key_End, Qt::ControlModifier);
    EXPECT_GT(bar->value(), bar->maximum() - line);
    addLines(5);
    EXPECT_EQ(bar->value(), bar->maximum()) << "at the end again, the pane follows again";
}

// Checking one account and switching one on or off are in the Online menu, reached by keys;
// Shift+F10 opens the list's menu for the selected mail.
TEST(MainWindowList, KeyboardReachesTheAccountCommandsAndTheListMenu) {
    TListWindow w;
    AddAccount(w.Bench.Accounts, "Home", "u", "h", "p", 110, false);
    w.AddMails(2);
    w.Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.Window.get()));
    w.Select(0);

    QMenu* online = w.Window->OnlineMenu();
    EXPECT_TRUE(online->actions().contains(w.Window->AccountsCheckMenu()->menuAction()));
    EXPECT_TRUE(online->actions().contains(w.Window->AccountsAutoCheckMenu()->menuAction()));
    EXPECT_EQ(w.Window->AccountsCheckMenu()->title(), "Check &one account");

    // Alt+O, N opens the switch menu; Enter switches its first account.
    std::vector<QString> opened;
    const auto record = [&opened] {
        if (QWidget* popup = QApplication::activePopupWidget())
            opened.push_back(popup->objectName());
    };
    QTest::keyClick(w.List(), Qt::Key_O, Qt::AltModifier);
    QTest::qWait(50);
    record();
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_N);
    QTest::qWait(50);
    record();
    ASSERT_EQ(opened, (std::vector<QString>{"mnuOnline", "popupAccountsAutoCheck"}));
    EXPECT_EQ(w.Window->AccountsAutoCheckMenu()->actions().value(0)->text(), "Home is NOT active");
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_TRUE(w.Bench.Accounts[0].Active);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // The check items are the same menu, one item per account.
    QMetaObject::invokeMethod(w.Window->AccountsCheckMenu(), "aboutToShow");
    EXPECT_EQ(w.Window->AccountsCheckMenu()->actions().value(0)->text(), "Home");

    QString listMenu;
    QTimer::singleShot(100, [&listMenu] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            listMenu = popup->objectName();
            popup->close();
        }
    });
    w.List()->setFocus();
    QTest::keyClick(w.List(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(listMenu, "popupOneMail");
}

// A window saved larger than the screen (or on a screen that has gone) comes back inside the
// screen; a program set to start minimized starts minimized, on the taskbar without a tray and in
// the tray with one, and is never shown as a normal window first.
TEST(MainWindowList, RestoredInsideTheScreenAndStartedMinimized) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TWindowBench bench;
        bench.Store.WriteString("Options", "FirstRun", "0");
        bench.Store.WriteString("Layout", "FormLeft", std::to_string(screen.width() / 2));
        bench.Store.WriteString("Layout", "FormTop", "40");
        bench.Store.WriteString("Layout", "FormWidth", std::to_string(2 * screen.width()));
        bench.Store.WriteString("Layout", "FormHeight", std::to_string(2 * screen.height()));
        auto window = bench.MakeWindow();
        TWindowBench::Start(*window);
        EXPECT_TRUE(screen.contains(window->frameGeometry()));
        EXPECT_EQ(window->frameGeometry().size(), screen.size());
    }
    struct Row {
        bool tray, hidden;
    };
    for (const Row row : {Row{false, false}, Row{true, true}}) {
        TWindowBench bench;
        bench.Store.WriteString("Options", "FirstRun", "0");
        bench.Store.WriteString("Options", "StartMinimized", "1");
        auto window = bench.MakeWindow(row.tray);
        struct TFirstShow : QObject {
            int Shows = 0;
            bool Minimized = false;
            bool eventFilter(QObject* Watched, QEvent* Event) override {
                if (Event->type() == QEvent::Show && Shows++ == 0)
                    Minimized = static_cast<QWidget*>(Watched)->isMinimized();
                return false;
            }
        } firstShow;
        window->installEventFilter(&firstShow);
        TWindowBench::Start(*window);
        QTest::qWait(50);
        EXPECT_TRUE(firstShow.Minimized) << row.tray;
        EXPECT_TRUE(window->isMinimized()) << row.tray;
        EXPECT_EQ(window->isHidden(), row.hidden) << row.tray;
        EXPECT_EQ(window->Systray().IconShown(), row.hidden) << row.tray;
        window->removeEventFilter(&firstShow);
    }
}

} // namespace quillet::test
