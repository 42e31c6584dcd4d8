#include "dialogs/about.h"

#include "dialogs/dialog_positions.h"
#include "dialogs/message_box.h"
#include "ui_about.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>

namespace quillet {

namespace {

constexpr QSize IconSize(32, 32);
constexpr QSize PictureSize(16, 16);

// The name in blue with a yellow copy 2 pixels lower and further right behind it.
void StyleProductName(QLabel* Name, QLabel* Shadow) {
    QFont font = Name->font();
    font.setBold(true);
    font.setPixelSize(23);
    for (QLabel* label : {Name, Shadow})
        label->setFont(font);
    Name->setStyleSheet(QStringLiteral("color: #0000ff;"));
    Shadow->setStyleSheet(QStringLiteral("color: #ffff00;"));
    Name->setContentsMargins(0, 0, 2, 2);
    Shadow->setContentsMargins(2, 2, 0, 0);
    Shadow->setAccessibleName(QString()); // the name is read once, from the front label
    Shadow->lower();
}

// A borderless read-only field on the panel's colour that looks and acts like a link.
void StyleLinkField(QLineEdit* Field, const QString& Address, QObject* Filter) {
    Field->setText(Address);
    Field->setCursor(Qt::PointingHandCursor);
    Field->setToolTip(QCoreApplication::translate("quillet::TfrmAbout", "Open %1").arg(Address));
    Field->setAccessibleName(Address);
    QFont font = Field->font();
    font.setUnderline(true);
    Field->setFont(font);
    QPalette palette = Field->palette();
    palette.setColor(QPalette::Text, palette.color(QPalette::Link));
    palette.setColor(QPalette::Base, Qt::transparent);
    Field->setPalette(palette);
    Field->setMinimumWidth(Field->fontMetrics().horizontalAdvance(Address) + 12);
    Field->installEventFilter(Filter);
}

const QString Mail1 = QStringLiteral("quillet@example.org");
const QString Mail2 = QStringLiteral("support@example.org");
const QString Web1 = QStringLiteral("https://www.example.org/quillet/");
const QString Web2 = QStringLiteral("https://quillet.example.org/");

} // namespace

std::string VersionText(std::string_view BuildVersion) {
    if (BuildVersion.empty())
        return FromQString(QCoreApplication::translate("quillet::TfrmAbout", "Unknown"));
    std::string text(BuildVersion);
    int parts = 1;
    for (const char c : BuildVersion)
        parts += c == '.' ? 1 : 0;
    for (; parts < 4; ++parts)
        text += ".0";
    return text;
}

QUrl MailLinkTarget(const QString& Address) {
    return QUrl(QStringLiteral("mailto:") + Address);
}

QUrl WebLinkTarget(const QString& Address) {
    return QUrl(Address + QStringLiteral("index.html"));
}

QString CreditsText() {
    return QCoreApplication::translate("quillet::TfrmAbout",
                                       "Special thanks go to:\n"
                                       "\n"
                                       "  the Qt project, for the toolkit that Quillet is built with\n"
                                       "  the makers of the mail server that Quillet is tested against\n"
                                       "  everyone who tried Quillet, for their testing and ideas");
}

TfrmAbout::TfrmAbout(TDialogPositions* Positions, QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::frmAbout>()), FPositions(Positions) {
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    StyleProductName(FUi->ProductName, FUi->lblProductShadow);
    QFont beta = FUi->lblBeta->font();
    beta.setBold(true);
    beta.setPixelSize(16);
    FUi->lblBeta->setFont(beta);
    FUi->imgProgramIcon->setFixedSize(IconSize + QSize(4, 4));
    StyleLinkField(FUi->lblE_mail1, Mail1, this);
    StyleLinkField(FUi->lblE_mail2, Mail2, this);
    StyleLinkField(FUi->lblWWW1, Web1, this);
    StyleLinkField(FUi->lblWWW2, Web2, this);
    OnOpenLink = [](const QUrl& Url) { QDesktopServices::openUrl(Url); };
    connect(FUi->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->btnCredits, &QPushButton::clicked, this, &TfrmAbout::btnCreditsClick);
    if (FPositions != nullptr)
        FPositions->LoadDialogPosition(this, false);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::Load(const TAboutValues& Values) {
    const qreal ratio = devicePixelRatioF();
    FUi->imgProgramIcon->setPixmap(Values.ProgramIcon.pixmap(IconSize, ratio));
    for (QLabel* picture : {FUi->imgMail1, FUi->imgMail2})
        picture->setPixmap(Values.MailPicture.pixmap(PictureSize, ratio));
    for (QLabel* picture : {FUi->imgWeb1, FUi->imgWeb2})
        picture->setPixmap(Values.WebPicture.pixmap(PictureSize, ratio));
    FUi->lblVersion->setText(tr("Version %1").arg(ToQString(VersionText(Values.BuildVersion))));
    FUi->lblBeta->setVisible(Values.IsBeta);
}

void TfrmAbout::Run(const TAboutValues& Values) {
    Load(Values);
    FUi->OKButton->setFocus();
    exec();
}

void TfrmAbout::hideEvent(QHideEvent* Event) {
    if (FPositions != nullptr)
        FPositions->SaveDialogPosition(this, false);
    QDialog::hideEvent(Event);
}

// A click, or Enter or Space on a focused address, opens it.
bool TfrmAbout::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) {
        OpenAddress(Watched);
        return true;
    }
    if (Event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(Event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            OpenAddress(Watched);
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TfrmAbout::OpenAddress(QObject* Field) {
    if (!OnOpenLink)
        return;
    const auto* edit = qobject_cast<QLineEdit*>(Field);
    if (edit == nullptr)
        return;
    const bool mail = edit == FUi->lblE_mail1 || edit == FUi->lblE_mail2;
    OnOpenLink(mail ? MailLinkTarget(edit->text()) : WebLinkTarget(edit->text()));
}

void TfrmAbout::btnCreditsClick() {
    ShowMessage(this, tr("Credits"), CreditsText(), TMessageIcon::Information);
}

} // namespace quillet
