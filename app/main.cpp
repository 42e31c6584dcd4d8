// Program entry.
#include "app/check_controller.h"
#include "app/dialog_commands.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/quillet_application.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "app/translations.h"
#include "model/account.h"
#include "model/mails.h"
#include "notify/autostart_entries.h"
#include "settings/registry_store.h"
#include "settings/start_options.h"
#include "util/decimal_separator.h"

#include <QDir>
#include <cstdio>

namespace {

QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace quillet;
    QCoreApplication::setOrganizationName("Harvek");
    QCoreApplication::setApplicationName("Quillet");
    QCoreApplication::setApplicationVersion(QUILLET_VERSION);

    const TStartOptions options =
        ParseStartOptions(ArgumentsOf(argc, argv), qEnvironmentVariable("QUILLET_SETTINGS_DIR"));
    if (!options.Error.isEmpty()) {
        std::fprintf(stderr, "quillet: %s\n\n%s", qPrintable(options.Error), qPrintable(options.HelpText));
        return 2;
    }
    if (options.Help) {
        std::fputs(qPrintable(options.HelpText), stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("Quillet %s\n", QUILLET_VERSION);
        return 0;
    }

    // A run on a settings folder of its own keeps everything there, its single-instance mark too.
    const bool ownFolder = !options.SettingsDir.isEmpty();
    TSettingsLocation location;
    if (ownFolder)
        location = ChooseSettingsLocation(options.SettingsDir);

    // One Quillet per set of settings: a second start ends here, silently, before any window exists.
    const TSingleInstance instance(location.LockFolder);
    if (!instance.IsFirst())
        return 0;

    TQuilletApplication app(argc, argv);
    // The user's language (LANG, LC_MESSAGES, LANGUAGE), before the first text is made.
    const TTranslations translations(QLocale::system());
    UseDotDecimalSeparator();
    // The window decides when the program ends: a message box closing while the window sits in
    // the tray must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    InitPictures();
    QApplication::setWindowIcon(AppIcon());
    if (!ownFolder)
        location = ChooseSettingsLocation(QString());

    // Every account and every mail of this run. The window and everything it creates are handed
    // them by reference; they go before the application object, so no socket outlives it.
    TAccounts accounts;
    TMails mails;
    // The options the window, the check and the dialogs follow.
    TAppSettings settings;

    const auto store = location.StoreFile.isEmpty() ? std::make_unique<TRegistryStore>()
                                                    : std::make_unique<TRegistryStore>(location.StoreFile);
    int exitCode = 0;
    {
        TMainWindowServices services;
        services.Store = store.get();
        services.Settings = &settings;
        services.AppDir = location.AppDir;
        if (ownFolder) {
            // Log-on entries of a run like this stay in its folder, away from the user's own.
            const QDir folder(location.LockFolder);
            services.AutostartEntries =
                std::make_unique<TXdgAutostartEntries>(folder.filePath(QStringLiteral("autostart")),
                                                       folder.filePath(QStringLiteral("autostart-machine")));
        }
        TfrmMain window(accounts, mails, std::move(services));
        auto* controller = new TCheckController(window, accounts, mails); // owned by the window
        new TDialogCommands(window, accounts, *controller);               // owned by the window
        QObject::connect(&window, &TfrmMain::TerminateRequested, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        QObject::connect(&window, &TfrmMain::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        // Asked to end from outside: the window closes for good, drops its connections and saves.
        TTerminationSignals termination;
        QObject::connect(&termination, &TTerminationSignals::TerminationRequested, &window,
                         [&window] { window.CloseForGood(); });
        window.ShowAtStart();
        exitCode = app.exec();
    }
    store->Sync();
    // The window saves the accounts when it goes, so the lists are emptied only after it; the
    // accounts own sockets, so they go while the application object still exists.
    accounts.Clear();
    mails.Clear();
    return exitCode;
}
