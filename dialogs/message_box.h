// Every message box of the program goes through here, so that tests can answer them in advance
// and read what would have been shown.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace quillet {

enum class TMessageIcon { None, Information, Question, Warning, Error };

enum class TMessageAnswer { Ok, Cancel, Yes, No };

struct TShownMessage {
    QString Title;
    QString Text; // exactly as given, line breaks included
    TMessageIcon Icon = TMessageIcon::None;
};

// A message with one OK button. Text may use "\r\n" line breaks.
void ShowMessage(QWidget* Parent, const QString& Title, const QString& Text, TMessageIcon Icon);

// A question with Yes and No buttons; DefaultNo makes No the default button.
TMessageAnswer AskYesNo(QWidget* Parent, const QString& Title, const QString& Text, bool DefaultNo);
// The same with a Cancel button as well (Escape answers Cancel); No is the default button.
TMessageAnswer AskYesNoCancel(QWidget* Parent, const QString& Title, const QString& Text);

// While one exists, no message box opens: each is recorded and answered from the queue of
// answers (Ok for a message, Yes for a question when the queue is empty). Not nestable.
class TMessageBoxScript {
public:
    TMessageBoxScript();
    ~TMessageBoxScript();
    TMessageBoxScript(const TMessageBoxScript&) = delete;
    TMessageBoxScript& operator=(const TMessageBoxScript&) = delete;

    void QueueAnswer(TMessageAnswer Answer) { FAnswers.push_back(Answer); }
    const std::vector<TShownMessage>& Shown() const { return FShown; }
    // Runs for every message as it would be shown, before it is answered.
    std::function<void(const TShownMessage&)> OnShow;

    TMessageAnswer Take(const TShownMessage& Message, TMessageAnswer Default);

private:
    std::vector<TShownMessage> FShown;
    std::vector<TMessageAnswer> FAnswers;
};

} // namespace quillet
