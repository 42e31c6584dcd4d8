#include "dialogs/message_box.h"

#include <QMessageBox>

namespace quillet {

namespace {

TMessageBoxScript* ActiveScript = nullptr;

QMessageBox::Icon BoxIcon(TMessageIcon Icon) {
    switch (Icon) {
    case TMessageIcon::Information:
        return QMessageBox::Information;
    case TMessageIcon::Question:
        return QMessageBox::Question;
    case TMessageIcon::Warning:
        return QMessageBox::Warning;
    case TMessageIcon::Error:
        return QMessageBox::Critical;
    case TMessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A message box shows a lone line feed as a line break; a carriage return before it would show
// as a stray mark.
QString DisplayText(const QString& Text) {
    QString shown = Text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.remove(QLatin1Char('\r'));
    return shown;
}

} // namespace

TMessageBoxScript::TMessageBoxScript() {
    ActiveScript = this;
}

TMessageBoxScript::~TMessageBoxScript() {
    ActiveScript = nullptr;
}

TMessageAnswer TMessageBoxScript::Take(const TShownMessage& Message, TMessageAnswer Default) {
    FShown.push_back(Message);
    if (OnShow)
        OnShow(Message);
    if (FAnswers.empty())
        return Default;
    const TMessageAnswer answer = FAnswers.front();
    FAnswers.erase(FAnswers.begin());
    return answer;
}

void ShowMessage(QWidget* Parent, const QString& Title, const QString& Text, TMessageIcon Icon) {
    if (ActiveScript != nullptr) {
        ActiveScript->Take({Title, Text, Icon}, TMessageAnswer::Ok);
        return;
    }
    QMessageBox box(BoxIcon(Icon), Title, DisplayText(Text), QMessageBox::Ok, Parent);
    box.exec();
}

TMessageAnswer AskYesNoCancel(QWidget* Parent, const QString& Title, const QString& Text) {
    if (ActiveScript != nullptr)
        return ActiveScript->Take({Title, Text, TMessageIcon::Question}, TMessageAnswer::Yes);
    QMessageBox box(QMessageBox::Question, Title, DisplayText(Text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Parent);
    box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TMessageAnswer::Yes;
    case QMessageBox::No:
        return TMessageAnswer::No;
    default:
        return TMessageAnswer::Cancel;
    }
}

TMessageAnswer AskYesNo(QWidget* Parent, const QString& Title, const QString& Text, bool DefaultNo) {
    if (ActiveScript != nullptr)
        return ActiveScript->Take({Title, Text, TMessageIcon::Question}, TMessageAnswer::Yes);
    QMessageBox box(QMessageBox::Question, Title, DisplayText(Text), QMessageBox::Yes | QMessageBox::No,
                    Parent);
    box.setDefaultButton(DefaultNo ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? TMessageAnswer::Yes : TMessageAnswer::No;
}

} // namespace quillet
