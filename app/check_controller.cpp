#include "app/check_controller.h"

#include "app/account_menus.h"
#include "check/account_health.h"
#ifndef Q_OS_WIN
#include "check/logind_power_monitor.h"
#endif
#include "app/desktop_notifier.h"
#include "app/mail_list_model.h"
#include "app/mail_list_view.h"
#include "app/mail_row_texts.h"
#include "app/mail_sort_model.h"
#include "app/main_window.h"
#include "app/new_mail_marks.h"
#include "app/new_mail_notice.h"
#include "app/power_broadcast_filter.h"
#include "app/systray.h"
#include "dialogs/message_box.h"
#include "mail/preview_text.h"
#include "model/account.h"
#include "model/mails.h"
#include "notify/sound_table.h"
#include "settings/seen_mail_file.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QApplication>
#include <QByteArrayList>
#include <QDateTime>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QVariant>
#include <exception>
#include <utility>

namespace quillet {

namespace {

// Sleep and resume as this desktop reports them: logind on Linux; on Windows the window hands
// the power broadcasts to a plain monitor.
std::unique_ptr<TPowerMonitor> MakePowerMonitor() {
#ifdef Q_OS_WIN
    return std::make_unique<TPowerMonitor>();
#else
    return std::make_unique<TLogindPowerMonitor>(QDBusConnection::systemBus());
#endif
}

} // namespace

TCheckController::TCheckController(TfrmMain& Window, TAccounts& Accounts, TMails& Mails)
    : QObject(&Window), FWindow(Window), FAccounts(Accounts), FMails(Mails), FCycle(Accounts, Mails, *this),
      FPower(MakePowerMonitor()), FSchedule(Accounts, FCycle, *this),
      FListModel(new TMailListModel(Mails, this)), FSortModel(new TMailSortModel(*FListModel, this)),
      FMenus(new TAccountMenus(
          Accounts, Window.AccountsToolbar(), Window.AccountsCheckMenu(), Window.CheckOneMenu(),
          Window.AccountsAutoCheckMenu(), [this](int Position) { PostCheckOne(Position); }, this)) {
    SetNotifier(new TDesktopNotifier(Window.Systray(), this));
    FWindow.SetMailModel(FSortModel);
    ConnectCommands();
    ConnectList();
    connect(&FWindow, &TfrmMain::SettingsLoaded, this, [this] {
        const TMainSettings& settings = FWindow.Settings().Values();
        FSortModel->SetSort(settings.SortCol, settings.SortLargestFirst);
        ShowSortIndicator();
        FMenus->BuildAccountsToolbar();
        RefreshStatus();
        LoadSeenMail();
    });
    // What was announced before is not announced again, in this run or the next.
    FCycle.SeenMail = &FSeenMail;
    FCycle.SeenMailChanged = [this] { SaveSeenMail(); };
    FWindow.installEventFilter(this);
    // Ticks go through the schedule, which holds back failing accounts, follows sleep and the
    // network, and asks for the timed Check all.
    FSchedule.Watch(*FPower);
    FSchedule.Watch(FNetwork);
#ifdef Q_OS_WIN
    FPowerFilter = std::make_unique<TPowerBroadcastFilter>(*FPower);
    QCoreApplication::instance()->installNativeEventFilter(FPowerFilter.get());
#endif
    connect(FWindow.CheckTimer(), &QTimer::timeout, &FSchedule, &TCheckSchedule::Tick);
    connect(&FSchedule, &TCheckSchedule::CheckAllDue, this, &TCheckController::TimerTick);
    connect(&FWindow.Settings(), &TAppSettings::Changed, this, &TCheckController::FollowTimedChecks);
    FollowTimedChecks();
}

void TCheckController::FollowTimedChecks() {
    const TMainSettings& settings = FWindow.Settings().Values();
    FSchedule.SetTimedChecks(settings.CheckingActive, settings.AutoCheckTime);
}

// Owned by the window and deleted after it has saved its settings, so that the list still has
// its columns then.
TCheckController::~TCheckController() {
    if (FPowerFilter && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(FPowerFilter.get());
}

void TCheckController::ConnectCommands() {
    FWindow.SetCommandHandler(TCommand::CheckAll, [this] {
        FCycle.MaxLines = FWindow.Settings().Values().MaxLines;
        FCycle.CheckAll();
    });
    FWindow.SetCommandHandler(TCommand::AbortChecking, [this] { FCycle.Abort(); });
    FWindow.SetCommandHandler(TCommand::MailDelete, [this] { MarkSelected(); });
    FWindow.SetCommandHandler(TCommand::MailProperties, [this] { ShowProperties(); });
    FWindow.SetCommandHandler(TCommand::DumpIDs, [this] { DumpIDs(); });
}

void TCheckController::ConnectList() {
    TMailListView* list = FWindow.MailList();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &TCheckController::ShowListMenu);
    connect(list, &QAbstractItemView::doubleClicked, this, [this] { ShowProperties(); });
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& Current) { CurrentRowChanged(Current); });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { RefreshStatus(); });
    QHeaderView* header = list->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, &TCheckController::ColumnClicked);
}

// ---- The check cycle's host

void TCheckController::SetStatusText(const std::string& Text) {
    FWindow.ShowStatusText(ToQString(Text));
}

void TCheckController::AppendSystemLine(const std::string& Line) {
    // A reply with line breaks becomes several lines; a final line break adds no empty line.
    std::string text = Line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (const auto& line : SplitTextLines(text))
        FWindow.AppendSystemLine(ToQString(line));
}

void TCheckController::AddMail(std::unique_ptr<TMail> Mail) {
    FListModel->AddMail(std::move(Mail));
}

void TCheckController::UpdateMail(int MailIndex) {
    FListModel->MailChanged(MailIndex);
}

void TCheckController::RemoveMail(int MailIndex) {
    FListModel->RemoveMail(MailIndex);
}

void TCheckController::UpdateAccountButton(int Position) {
    FMenus->UpdateAccountButton(Position);
}

void TCheckController::SetCommandsEnabled(bool Enabled) {
    TCommandState state = FWindow.CommandState();
    state.Checking = !Enabled;
    FWindow.SetCommandState(state);
}

void TCheckController::SelectFirstRowIfNone() {
    FListModel->ShowPendingRows(); // rows of the last mails added are shown in batches
    TMailListView* list = FWindow.MailList();
    if (list->selectionModel()->hasSelection() || FSortModel->rowCount() == 0)
        return;
    list->setCurrentIndex(FSortModel->index(0, 0));
    list->setFocus();
}

void TCheckController::PlaySound(TCheckSound Sound) {
    FWindow.Sounds().Play(Sound == TCheckSound::NewMail ? sndNewMail : sndNoMail);
}

void TCheckController::RestoreAndRaise() {
    FWindow.RestoreApp();
    FWindow.raise();
    FWindow.activateWindow();
}

void TCheckController::RefreshStatus() {
    TStatusSummary summary;
    summary.MailCount = FMails.Count();
    summary.MarkedCount = MarkedCount(FMails);
    summary.LastCheck = ToQString(LastCheckPanelText(FCycle.LastFullCheck()));
    summary.Title = ToQString(StatusTitle(FMails.Count(), FCycle.LastFullCheck()));
    FWindow.ShowSummary(summary);
    TCommandState state = FWindow.CommandState();
    state.HasSelection = FWindow.MailList()->selectionModel()->hasSelection();
    FWindow.SetCommandState(state);
}

void TCheckController::TimerTick() {
    if (FCycle.Busy() || FCycle.AnyConnected())
        return; // a check is running
    QTimer* timer = FWindow.CheckTimer();
    timer->stop();
    // The timer comes back however the check ends, so that checking goes on at the next tick.
    const struct TRestart {
        const TAppSettings& Settings;
        QTimer* Timer;
        ~TRestart() {
            if (Settings.Values().CheckingActive && Timer->interval() > 0)
                Timer->start();
        }
    } restart{FWindow.Settings(), timer};
    FCycle.MaxLines = FWindow.Settings().Values().MaxLines;
    FCycle.CheckAll(true);
}

// ---- One account's check

void TCheckController::PostCheckOne(int Position) {
    QMetaObject::invokeMethod(
        this,
        [this, Position] {
            FCycle.MaxLines = FWindow.Settings().Values().MaxLines;
            FCycle.CheckOne(Position);
        },
        Qt::QueuedConnection);
}

void TCheckController::SaveAccounts() {
    // A refresh token the provider has just replaced no longer works: the new one must not wait
    // for the end of the run. A file that cannot be written stops neither the check nor the run.
    try {
        FWindow.SaveSettings();
    } catch (const std::exception& Error) {
        AppendSystemLine(FromQString(
            tr("The renewed sign-in could not be saved: %1").arg(QString::fromUtf8(Error.what()))));
    }
}

void TCheckController::AnnounceNewMail(const std::vector<std::string>& Keys) {
    // The tray shows that new mail waits until the window is back.
    FWindow.ShowNewMailWaiting(true);
    if (!FWindow.Settings().Values().NotifyNewMail)
        return;
    std::vector<const TMail*> mails;
    QByteArrayList keys; // the notification's actions find its mails again by these
    for (const int j : MailsToAnnounce(FMails, Keys)) {
        mails.push_back(&FMails[j]);
        keys.push_back(QByteArray::fromStdString(FMails[j].MatchKey()));
    }
    const TNewMailNotice notice = NewMailNotice(mails);
    if (notice.Title.empty())
        return;
    // One notification sums up all the user has not seen; one mail may be marked from it.
    std::vector<TNoticeAction> actions;
    if (mails.size() == 1)
        actions.push_back({QString::fromLatin1(MarkAction), tr("Mark for deletion")});
    FNotifier->Show(ToQString(notice.Title), ToQString(notice.Body), actions, QVariant::fromValue(keys));
}

void TCheckController::SetNotifier(TDesktopNotifier* Notifier) {
    if (FNotifier != nullptr && FNotifier != Notifier)
        FNotifier->deleteLater();
    FNotifier = Notifier;
    FNotifier->setParent(this);
    connect(FNotifier, &TDesktopNotifier::Activated, this, &TCheckController::ShowAnnounced);
    connect(FNotifier, &TDesktopNotifier::ActionChosen, this,
            [this](const QString& Key, const QVariant& Tag) {
                if (Key == QLatin1String(MarkAction))
                    MarkAnnounced(Tag);
            });
}

void TCheckController::ShowAnnounced(const QVariant& Tag) {
    RestoreAndRaise();
    FListModel->ShowPendingRows();
    TMailListView* list = FWindow.MailList();
    const QByteArrayList keys = Tag.value<QByteArrayList>();
    if (keys.size() == 1) {
        if (const int row = FSortModel->FindRow(keys.front().toStdString()); row >= 0) {
            const QModelIndex index = FSortModel->index(row, 0);
            list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
            list->scrollTo(index);
        }
    }
    list->setFocus();
}

void TCheckController::MarkAnnounced(const QVariant& Tag) {
    const QByteArrayList keys = Tag.value<QByteArrayList>();
    if (keys.size() != 1)
        return;
    // A mail gone from the list, or marked already, stays as it is: the action only ever marks.
    const int j = FMails.FindMail(keys.front().toStdString());
    if (j < 0 || FMails[j].MarkedForDelete)
        return;
    const int slot = FListModel->ToggleDeleteMarks({j});
    RefreshStatus(); // the status bar counts the marked mails
    if (slot != sndNone)
        FWindow.Sounds().Play(slot);
}

// ---- What the user has seen

bool TCheckController::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == &FWindow && Event->type() == QEvent::ActivationChange) {
        if (FWindow.isActiveWindow())
            FWindowActive = true;
        else if (std::exchange(FWindowActive, false))
            LookedAt();
    }
    return QObject::eventFilter(Watched, Event);
}

void TCheckController::LookedAt() {
    for (const int j : ClearNewMarks(FMails))
        FListModel->MailChanged(j);
}

std::string TCheckController::SeenMailPath() const {
    return FWindow.AppDir() + SeenMailFileName;
}

void TCheckController::LoadSeenMail() {
    FSeenMail = ReadSeenMailFile(SeenMailPath());
}

void TCheckController::SaveSeenMail() {
    // Accounts deleted or edited since are left out, so that the file never outgrows the accounts.
    std::vector<TSeenAccount> accounts;
    for (int i = 0; i < FAccounts.Count(); ++i)
        accounts.push_back(SeenAccountOf(FAccounts[i]));
    FSeenMail.KeepOnly(accounts);
    if (const std::string why = WriteSeenMailFile(SeenMailPath(), FSeenMail); !why.empty())
        AppendSystemLine(
            FromQString(tr("Which mails were announced could not be saved (%1): they may be announced "
                           "again after a restart")
                            .arg(ToQString(why))));
}

// ---- The list

void TCheckController::CurrentRowChanged(const QModelIndex& Current) {
    if (!Current.isValid())
        return;
    ShowMail(FSortModel->MailIndexOfRow(Current.row()));
    RefreshStatus();
    ShowSelectedAccountHealth();
}

void TCheckController::ShowSelectedAccountHealth() {
    if (FCycle.Running())
        return; // the running check's own texts come first
    const std::vector<int> selected = SelectedMailIndices();
    if (selected.empty() || selected.front() < 0)
        return;
    const std::string& label = FMails[selected.front()].Account;
    for (int i = 0; i < FAccounts.Count(); ++i)
        if (FAccounts[i].Label == label) {
            if (const std::string text = HealthStatusText(FAccounts[i], QDateTime::currentMSecsSinceEpoch());
                !text.empty())
                FWindow.ShowStatusText(ToQString(text));
            return;
        }
}

void TCheckController::ShowMail(int MailIndex) {
    if (MailIndex < 0) {
        FWindow.ShowNoMail();
        return;
    }
    const TMail& mail = FMails[MailIndex];
    // The Message pane shows the first text part decoded (or the raw lines when the message
    // cannot be decoded); the Header pane shows the header as the server sent it.
    FWindow.ShowMailText(PreviewText(mail.HeaderLines(), mail.BodyLines()).Lines, mail.HeaderLines());
}

std::vector<int> TCheckController::SelectedMailIndices() const {
    std::vector<int> rows;
    for (const QModelIndex& index : FWindow.MailList()->selectionModel()->selectedRows())
        rows.push_back(index.row());
    return FSortModel->MailIndicesOfRows(std::move(rows));
}

void TCheckController::MarkSelected() {
    const std::vector<int> selected = SelectedMailIndices();
    if (selected.empty())
        return;
    const int slot = FListModel->ToggleDeleteMarks(selected);
    RefreshStatus(); // the status bar counts the marked mails
    if (slot != sndNone)
        FWindow.Sounds().Play(slot);
}

void TCheckController::ShowProperties() {
    const std::vector<int> selected = SelectedMailIndices();
    if (selected.empty() || selected.front() < 0)
        return;
    ShowMessage(&FWindow, FWindow.windowTitle(), ToQString(MailPropertiesText(FMails[selected.front()])),
                TMessageIcon::None);
}

void TCheckController::DumpIDs() {
    for (const auto& line : DumpIDsLines(FMails))
        AppendSystemLine(line);
}

void TCheckController::ColumnClicked(int Column) {
    FSortModel->ColumnClicked(Column);
    FWindow.Settings().Edit([this](TMainSettings& S) {
        S.SortCol = FSortModel->SortCol();
        S.SortLargestFirst = FSortModel->SortLargestFirst();
    });
    // The header turns its own indicator on a click; ours is set once it has done so.
    QTimer::singleShot(0, this, [this] { ShowSortIndicator(); });
}

void TCheckController::ShowSortIndicator() {
    // The triangle points down while the largest (or last) comes first, up otherwise; the
    // header draws Qt's ascending indicator as a downward triangle.
    FWindow.MailList()->header()->setSortIndicator(
        FSortModel->SortCol(), FSortModel->SortLargestFirst() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TCheckController::ShowListMenu(const QPoint& At) {
    const std::vector<int> selected = SelectedMailIndices();
    if (selected.empty() || selected.front() < 0)
        return;
    QMenu menu(&FWindow);
    menu.setObjectName(QStringLiteral("popupOneMail"));
    menu.addAction(FWindow.Action(TCommand::MailDelete));
    menu.addSeparator();
    menu.addAction(FWindow.Action(TCommand::MailProperties));
    menu.exec(FWindow.MailList()->viewport()->mapToGlobal(At));
}

} // namespace quillet
