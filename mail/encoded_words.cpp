#include "mail/encoded_words.h"

#include "mail/charset_text.h"
#include "mail/decoders.h"
#include "mail/field_value.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

namespace quillet {

namespace {

// The working text of one decoding run. Its first part, up to Done, is final: it holds no "=?".
// The text still to be examined runs from Next to the end. A word's decoded text is written
// back just before the word's end, so that it is examined again without moving the rest of the
// text; the gap between Done and Next takes up any difference in length.
class TWorkText {
public:
    explicit TWorkText(std::string Text) : FText(std::move(Text)) {}

    std::size_t Done() const { return FDone; }
    std::size_t Next() const { return FNext; }
    std::size_t End() const { return FText.size(); }
    std::size_t Length() const { return FDone + (FText.size() - FNext); }
    char At(std::size_t Index) const { return FText[Index]; }
    std::string_view Slice(std::size_t From, std::size_t To) const {
        return std::string_view(FText).substr(From, To - From);
    }

    // Position of the first Wanted at or after From; npos when there is none.
    std::size_t Find(char Wanted, std::size_t From) const {
        if (From >= FText.size())
            return std::string::npos;
        const void* hit = std::memchr(FText.data() + From, Wanted, FText.size() - From);
        return hit == nullptr ? std::string::npos : static_cast<const char*>(hit) - FText.data();
    }

    // The first "?" at or after From. Answers are remembered so that the stretch of text after a
    // word's end is searched once, however many words end before it.
    std::size_t FindQuestion(std::size_t From) {
        if (FMemoValid && From >= FMemoFrom && From <= FMemoAt)
            return FMemoAt;
        std::size_t found;
        if (FMemoValid && From < FMemoFrom) {
            const void* hit = std::memchr(FText.data() + From, '?', FMemoFrom - From);
            found = hit == nullptr ? FMemoAt
                                   : static_cast<std::size_t>(static_cast<const char*>(hit) - FText.data());
        } else {
            found = Find('?', From);
        }
        FMemoValid = true;
        FMemoFrom = From;
        FMemoAt = found;
        return found;
    }

    // Makes everything before Position final.
    void Accept(std::size_t Position) {
        if (FDone != FNext)
            std::memmove(FText.data() + FDone, FText.data() + FNext, Position - FNext);
        FDone += Position - FNext;
        FNext = Position;
    }

    // A final "=" followed by a "?" still to be examined may start a word: examine it again.
    void ReopenBoundary() {
        if (FDone > 0 && FNext < FText.size() && FText[FDone - 1] == '=' && FText[FNext] == '?') {
            --FDone;
            --FNext;
            FText[FNext] = '=';
        }
    }

    // Replaces the text from Next up to WordEnd (exclusive) by Decoded, to be examined again.
    void Replace(std::size_t WordEnd, std::string_view Decoded) {
        if (WordEnd - FDone < Decoded.size()) {
            // Not enough room before the word's end: open a gap as long as the whole text.
            std::string grown;
            const std::size_t gap = Length() + Decoded.size();
            grown.reserve(FDone + gap + Decoded.size() + (FText.size() - WordEnd));
            grown.append(FText, 0, FDone);
            grown.append(gap, ' ');
            grown.append(Decoded);
            grown.append(FText, WordEnd, std::string::npos);
            FNext = FDone + gap;
            FText = std::move(grown);
            FMemoValid = false;
            return;
        }
        FNext = WordEnd - Decoded.size();
        std::memcpy(FText.data() + FNext, Decoded.data(), Decoded.size());
        if (FMemoValid && FNext <= FMemoAt && WordEnd > FMemoFrom)
            FMemoValid = false;
    }

    std::string Result() && {
        Accept(FText.size());
        FText.resize(FDone);
        return std::move(FText);
    }

private:
    std::string FText;
    std::size_t FDone = 0;
    std::size_t FNext = 0;
    // No "?" stands between MemoFrom and MemoAt; MemoAt is a "?" or npos.
    bool FMemoValid = false;
    std::size_t FMemoFrom = 0;
    std::size_t FMemoAt = 0;
};

// Decodes the text between the "?" after the character set and the closing "?=": the encoding
// letter, a "?" and the encoded text. Output is replaced; its capacity is reused.
void DecodeWordText(std::string_view Inner, std::string& Output) {
    char encoding = 'Q';
    if (Inner.size() >= 2 && Inner[1] == '?') {
        const char letter =
            Inner[0] >= 'a' && Inner[0] <= 'z' ? static_cast<char>(Inner[0] - 'a' + 'A') : Inner[0];
        if (letter == 'B' || letter == 'U')
            encoding = letter;
    }
    const std::string_view encoded = Inner.size() >= 2 ? Inner.substr(2) : std::string_view();
    if (encoding == 'Q') {
        DecodeQuotedPrintableInto(encoded, Output, true);
        return;
    }
    if (encoding == 'B')
        DecodeBase64(encoded, Output);
    else
        DecodeUULine(encoded, Output);
    const std::size_t zero = Output.find('\0');
    if (zero != std::string::npos)
        Output.resize(zero);
}

} // namespace

std::string DecodeEncodedWords(std::string_view Text) {
    TWorkText text(TrimSpace(Text));
    // Converted text may be longer than its bytes; past this length the bytes are kept instead,
    // so that words nested inside converted words cannot make the text grow without end.
    const std::size_t growthLimit = 3 * text.End() + 1024;
    constexpr std::size_t npos = std::string::npos;
    TCharsetConverter converter;
    std::string decoded;

    for (;;) {
        text.ReopenBoundary();
        // p: the first "=?" still to be examined.
        std::size_t p = text.Find('=', text.Next());
        while (p != npos && !(p + 1 < text.End() && text.At(p + 1) == '?'))
            p = text.Find('=', p + 1);
        if (p == npos)
            break;
        text.Accept(p);

        const std::size_t q1 = text.Find('?', p + 2); // ends the character set name
        if (q1 == npos)
            break;
        // The first "?=" starting after q1.
        std::size_t q2 = text.Find('?', q1 + 1);
        while (q2 != npos && !(q2 + 1 < text.End() && text.At(q2 + 1) == '='))
            q2 = text.Find('?', q2 + 1);
        if (q2 == npos)
            break; // no end: the word and the rest stay as they are
        // When the encoded text starts with "=", "?=" stands right after the encoding letter;
        // the real end is then the next "?" if it is followed by "=".
        const std::size_t q3 = text.FindQuestion(q2 + 2);
        if (q3 != npos && q3 + 1 < text.End() && text.At(q3 + 1) == '=')
            q2 = q3;

        const std::size_t wordEnd = q2 + 2;
        DecodeWordText(text.Slice(q1 + 1, q2), decoded);
        const auto utf8 = converter.ToUtf8(text.Slice(p + 2, q1), decoded);
        if (utf8 && text.Length() - (wordEnd - p) + utf8->size() <= growthLimit)
            text.Replace(wordEnd, *utf8);
        else
            text.Replace(wordEnd, decoded);
    }
    return std::move(text).Result();
}

} // namespace quillet
