#include "mail/encoded_words.h"

#include "mail/charset_text.h"
#include "mail/decoders.h"
#include "mail/field_value.h"

#include <cstddef>
#include <vector>

namespace quillet {

namespace {

// The text still to be examined, held as a stack whose top is the first character, so that
// a decoded word can be put back in front of the remaining text in time proportional to its
// own length. Beside each character the stack keeps the index of the nearest "?" at or below
// it (that is, at or after it in the text), which answers every "next ?" question at once.
class TPendingText {
public:
    explicit TPendingText(std::string_view Text) {
        FChars.reserve(Text.size());
        FNextQuestion.reserve(Text.size());
        for (auto it = Text.rbegin(); it != Text.rend(); ++it)
            Push(*it);
    }

    std::ptrdiff_t Size() const { return static_cast<std::ptrdiff_t>(FChars.size()); }
    char At(std::ptrdiff_t Index) const { return FChars[static_cast<std::size_t>(Index)]; }
    char Top() const { return FChars.back(); }
    // Index of the nearest "?" at or below Index; -1 when there is none or Index < 0.
    std::ptrdiff_t QuestionAtOrBelow(std::ptrdiff_t Index) const {
        return Index < 0 ? -1 : FNextQuestion[static_cast<std::size_t>(Index)];
    }

    void Push(char C) {
        const std::ptrdiff_t index = Size();
        FNextQuestion.push_back(C == '?' ? index : QuestionAtOrBelow(index - 1));
        FChars.push_back(C);
    }
    void PushText(std::string_view Text) {
        for (auto it = Text.rbegin(); it != Text.rend(); ++it)
            Push(*it);
    }
    char Pop() {
        const char c = FChars.back();
        FChars.pop_back();
        FNextQuestion.pop_back();
        return c;
    }
    // Drops every character from the top down to Index, inclusive.
    void DropDownTo(std::ptrdiff_t Index) {
        FChars.resize(static_cast<std::size_t>(Index));
        FNextQuestion.resize(static_cast<std::size_t>(Index));
    }
    // The characters from index High down to index Low, inclusive, in text order.
    std::string Between(std::ptrdiff_t High, std::ptrdiff_t Low) const {
        std::string text;
        for (std::ptrdiff_t i = High; i >= Low; --i)
            text += At(i);
        return text;
    }
    void AppendTo(std::string& Out) const { Out.append(FChars.rbegin(), FChars.rend()); }

private:
    std::vector<char> FChars;
    std::vector<std::ptrdiff_t> FNextQuestion;
};

// Decodes the text between the "?" after the character set and the closing "?=": the encoding
// letter, a "?" and the encoded text.
std::string DecodeWordText(std::string_view Inner) {
    char encoding = 'Q';
    if (Inner.size() >= 2 && Inner[1] == '?') {
        const char letter =
            Inner[0] >= 'a' && Inner[0] <= 'z' ? static_cast<char>(Inner[0] - 'a' + 'A') : Inner[0];
        if (letter == 'B' || letter == 'U')
            encoding = letter;
    }
    const std::string_view encoded = Inner.size() >= 2 ? Inner.substr(2) : std::string_view();
    std::string bytes;
    if (encoding == 'B') {
        DecodeBase64(encoded, bytes);
    } else if (encoding == 'U') {
        DecodeUULine(encoded, bytes);
    } else {
        std::string text(encoded);
        for (char& c : text)
            if (c == '_')
                c = ' ';
        return DecodeQuotedPrintable(text);
    }
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string::npos)
        bytes.resize(zero);
    return bytes;
}

} // namespace

std::string DecodeEncodedWords(std::string_view Text) {
    const std::string start = TrimSpace(Text);
    // Converted text may be longer than its bytes; past this size the bytes are kept instead,
    // so that words nested inside converted words cannot make the text grow without end.
    const std::size_t growthLimit = 3 * start.size() + 1024;

    TCharsetConverter converter;
    TPendingText pending(start);
    std::string done; // examined text; it holds no "=?"
    done.reserve(start.size());

    for (;;) {
        // A decoded word that begins with "?" may form "=?" with the end of the examined text.
        if (!done.empty() && done.back() == '=' && pending.Size() > 0 && pending.Top() == '?') {
            done.pop_back();
            pending.Push('=');
        }
        while (pending.Size() >= 2 && !(pending.Top() == '=' && pending.At(pending.Size() - 2) == '?'))
            done += pending.Pop();
        if (pending.Size() < 2)
            break;

        const std::ptrdiff_t p = pending.Size() - 1; // the "=" of "=?"
        const std::ptrdiff_t q1 = pending.QuestionAtOrBelow(p - 2);
        if (q1 < 0)
            break;
        // The first "?=" starting after q1.
        std::ptrdiff_t q2 = pending.QuestionAtOrBelow(q1 - 1);
        while (q2 >= 1 && pending.At(q2 - 1) != '=')
            q2 = pending.QuestionAtOrBelow(q2 - 1);
        if (q2 < 1)
            break; // no end: the word and the rest stay as they are
        // When the encoded text starts with "=", "?=" stands right after the encoding letter;
        // the real end is then the next "?" if it is followed by "=".
        const std::ptrdiff_t q3 = pending.QuestionAtOrBelow(q2 - 1);
        if (q3 >= 1 && pending.At(q3 - 1) == '=')
            q2 = q3;

        const std::string charset = pending.Between(p - 2, q1 + 1);
        const std::string inner = pending.Between(q1 - 1, q2 + 1);
        pending.DropDownTo(q2 - 1);

        std::string decoded = DecodeWordText(inner);
        if (auto utf8 = converter.ToUtf8(charset, decoded)) {
            const std::size_t total = done.size() + static_cast<std::size_t>(pending.Size()) + utf8->size();
            if (total <= growthLimit)
                decoded = std::move(*utf8);
        }
        pending.PushText(decoded);
    }
    pending.AppendTo(done);
    return done;
}

} // namespace quillet
