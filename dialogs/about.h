// The about box: the program's name with its shadow, icon, version and "Beta" mark, two e-mail
// and two web addresses that open when clicked, and the Credits message.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Ui {
class frmAbout;
}

namespace quillet {

class TDialogPositions;

struct TAboutValues {
    QIcon ProgramIcon;
    QIcon MailPicture;        // before each e-mail address
    QIcon WebPicture;         // before each web address
    std::string BuildVersion; // the version the program was built with; empty: none
    bool IsBeta = true;
};

// The version as four numbers joined by points ("0.1" reads "0.1.0.0"); "Unknown" without one.
std::string VersionText(std::string_view BuildVersion);
// What a click on an address opens: an e-mail address as a new message to it, a web address
// with "index.html" after it.
QUrl MailLinkTarget(const QString& Address);
QUrl WebLinkTarget(const QString& Address);
// The text of the Credits message, lines separated by line feeds.
QString CreditsText();

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // Positions may be null: the dialog then opens centred every time.
    explicit TfrmAbout(TDialogPositions* Positions, QWidget* Parent = nullptr);
    ~TfrmAbout() override;

    void Load(const TAboutValues& Values);
    // Load, then show modally.
    void Run(const TAboutValues& Values);

    // Opens a clicked address; the default asks the desktop. Its result is ignored.
    std::function<void(const QUrl&)> OnOpenLink;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void btnCreditsClick();
    void OpenAddress(QObject* Field);

    std::unique_ptr<Ui::frmAbout> FUi;
    TDialogPositions* FPositions;
};

} // namespace quillet
