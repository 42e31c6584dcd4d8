#include "demo/demo_letter.h"

#include "util/strings.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace quillet {

namespace {

const std::string CrLf = "\r\n";
// Longest encoded word RFC 2047 allows, and longest quoted-printable line RFC 2045 allows.
constexpr std::size_t MaxEncodedWord = 75;
constexpr std::size_t MaxQuotedPrintableLine = 76;

const char HexDigits[] = "0123456789ABCDEF";

bool IsAscii(std::string_view Text) {
    for (char c : Text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

void AppendEscape(std::string& Out, unsigned char C) {
    Out += '=';
    Out += HexDigits[C >> 4];
    Out += HexDigits[C & 15];
}

std::string Base64(std::string_view Bytes) {
    const QByteArray encoded = QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size())).toBase64();
    return std::string(encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

// The Q form keeps only the characters that are safe in every place an encoded word may stand
// (a display name included): letters, digits and "!*+-/"; a space becomes "_".
std::string QEncode(std::string_view Bytes) {
    std::string out;
    for (char c : Bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == ' ')
            out += '_';
        else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' ||
                 c == '*' || c == '+' || c == '-' || c == '/')
            out += c;
        else
            AppendEscape(out, b);
    }
    return out;
}

std::string EncodedWord(std::string_view Utf8, std::string_view Charset, char Encoding) {
    const std::string bytes = ToCharset(Utf8, Charset);
    return "=?" + std::string(Charset) + "?" + Encoding + "?" +
           (Encoding == 'B' ? Base64(bytes) : QEncode(bytes)) + "?=";
}

// Encoded words for a run of text, split between characters (never inside one) wherever a
// single word would pass the length limit; the pieces stand apart by a space, which readers drop
// between adjacent encoded words.
std::string EncodeRun(std::string_view Utf8, std::string_view Charset, char Encoding) {
    const QString text = QString::fromUtf8(Utf8.data(), static_cast<qsizetype>(Utf8.size()));
    std::string result;
    QString piece;
    std::string pieceWord;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype step = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString longer = piece + text.mid(i, step);
        const QByteArray longerUtf8 = longer.toUtf8();
        std::string word =
            EncodedWord(std::string_view(longerUtf8.constData(), static_cast<std::size_t>(longerUtf8.size())),
                        Charset, Encoding);
        if (word.size() > MaxEncodedWord && !piece.isEmpty()) {
            result += (result.empty() ? "" : " ") + pieceWord;
            piece.clear();
            pieceWord.clear();
            continue; // the same character starts the next piece
        }
        piece = longer;
        pieceWord = std::move(word);
        i += step;
    }
    if (!pieceWord.empty())
        result += (result.empty() ? "" : " ") + pieceWord;
    return result;
}

// A display name as it stands in an address: plain, quoted when it holds characters that
// would end it early, or encoded when it is not ASCII.
std::string NameForm(std::string_view Utf8, std::string_view Charset, char Encoding) {
    if (!IsAscii(Utf8))
        return EncodeHeaderText(Utf8, Charset, Encoding);
    if (Utf8.find_first_of("()<>[]:;@\\,.\"") == std::string_view::npos)
        return std::string(Utf8);
    std::string quoted = "\"";
    for (char c : Utf8) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string AddressList(const std::vector<TDemoPerson>& People, std::string_view Charset, char Encoding) {
    std::string list;
    for (const TDemoPerson& person : People) {
        if (!list.empty())
            list += ", ";
        if (person.Name.empty())
            list += person.Address;
        else
            list += NameForm(person.Name, Charset, Encoding) + " <" + person.Address + ">";
    }
    return list;
}

std::string TransferEncodingName(TBodyEncoding Encoding) {
    switch (Encoding) {
    case TBodyEncoding::SevenBit:
        return "7bit";
    case TBodyEncoding::EightBit:
        return "8bit";
    case TBodyEncoding::QuotedPrintable:
        return "quoted-printable";
    case TBodyEncoding::Base64:
        return "base64";
    }
    return "7bit";
}

// Body lines in the letter's character set and transfer encoding, CR LF after each. Lines are
// converted one by one so that a stateful set (ISO-2022-JP) returns to ASCII at every line end.
std::string EncodedBody(const std::vector<std::string>& Lines, std::string_view Charset,
                        TBodyEncoding Encoding) {
    std::string out;
    if (Encoding == TBodyEncoding::Base64) {
        std::string bytes;
        for (const std::string& line : Lines)
            bytes += ToCharset(line, Charset) + CrLf;
        const std::string encoded = Base64(bytes);
        for (std::size_t i = 0; i < encoded.size(); i += MaxQuotedPrintableLine)
            out += encoded.substr(i, MaxQuotedPrintableLine) + CrLf;
        return out;
    }
    for (const std::string& line : Lines) {
        const std::string bytes = ToCharset(line, Charset);
        if (Encoding == TBodyEncoding::QuotedPrintable) {
            for (const std::string& piece : QuotedPrintableLines(bytes))
                out += piece + CrLf;
        } else {
            out += bytes + CrLf;
        }
    }
    return out;
}

std::string TextPartType(std::string_view Subtype, std::string_view Charset) {
    return "text/" + std::string(Subtype) + "; charset=" + std::string(Charset);
}

} // namespace

std::string ToCharset(std::string_view Utf8, std::string_view Charset) {
    if (SameTextAscii(Charset, "us-ascii") || SameTextAscii(Charset, "utf-8"))
        return std::string(Utf8);
    QStringEncoder encoder(std::string(Charset).c_str());
    if (!encoder.isValid())
        return std::string(Utf8);
    const QByteArray bytes =
        encoder.encode(QString::fromUtf8(Utf8.data(), static_cast<qsizetype>(Utf8.size())));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string EncodeHeaderText(std::string_view Utf8, std::string_view Charset, char Encoding) {
    // Words are runs between spaces; neighbouring non-ASCII words share one run so that the
    // spaces between them travel inside the encoded text.
    std::string result;
    std::string run;
    auto flushRun = [&] {
        if (run.empty())
            return;
        if (!result.empty())
            result += ' ';
        result += EncodeRun(run, Charset, Encoding);
        run.clear();
    };
    std::size_t i = 0;
    while (i < Utf8.size()) {
        std::size_t end = Utf8.find(' ', i);
        if (end == std::string_view::npos)
            end = Utf8.size();
        const std::string_view word = Utf8.substr(i, end - i);
        if (!word.empty()) {
            if (IsAscii(word)) {
                flushRun();
                if (!result.empty())
                    result += ' ';
                result += word;
            } else {
                if (!run.empty())
                    run += ' ';
                run += word;
            }
        }
        i = end + 1;
    }
    flushRun();
    return result;
}

std::vector<std::string> QuotedPrintableLines(std::string_view Bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(Bytes[i]);
        const bool last = i + 1 == Bytes.size();
        std::string piece;
        // Blanks at a line end would be lost in transport: they are escaped there only.
        if ((b >= 33 && b <= 126 && b != '=') || ((b == ' ' || b == '\t') && !last))
            piece = std::string(1, static_cast<char>(b));
        else
            AppendEscape(piece, b);
        // Room for the piece and, unless the line ends here, a soft break after it.
        const std::size_t room = last ? MaxQuotedPrintableLine : MaxQuotedPrintableLine - 1;
        if (line.size() + piece.size() > room) {
            lines.push_back(line + "=");
            line.clear();
        }
        line += piece;
    }
    lines.push_back(line);
    return lines;
}

std::string ComposeLetter(const TDemoLetter& Letter) {
    const std::string& cs = Letter.Charset;
    const char enc = Letter.WordEncoding;
    std::string text;
    auto field = [&text](std::string_view Name, std::string_view Value) {
        text += std::string(Name) + ": " + std::string(Value) + CrLf;
    };

    if (!Letter.ReturnPath.empty())
        field("Return-Path", "<" + Letter.ReturnPath + ">");
    for (const std::string& received : Letter.Received)
        field("Received", received);
    field("Date", Letter.DateText);
    field("From", AddressList({Letter.From}, cs, enc));
    if (!Letter.To.empty())
        field("To", AddressList(Letter.To, cs, enc));
    if (!Letter.Cc.empty())
        field("Cc", AddressList(Letter.Cc, cs, enc));
    field("Subject", EncodeHeaderText(Letter.Subject, cs, enc));
    field("Message-ID", Letter.MessageId);
    if (!Letter.InReplyTo.empty())
        field("In-Reply-To", Letter.InReplyTo);
    if (!Letter.References.empty()) {
        std::string refs;
        for (const std::string& ref : Letter.References)
            refs += (refs.empty() ? "" : CrLf + " ") + ref;
        field("References", refs);
    }
    for (const auto& [name, value] : Letter.ExtraFields)
        field(name, value);
    field("MIME-Version", "1.0");

    if (Letter.Html.empty()) {
        field("Content-Type", TextPartType("plain", cs));
        field("Content-Transfer-Encoding", TransferEncodingName(Letter.Encoding));
        text += CrLf;
        text += EncodedBody(Letter.Body, cs, Letter.Encoding);
        return text;
    }

    const std::string& boundary = Letter.Boundary;
    field("Content-Type", "multipart/alternative; boundary=\"" + boundary + "\"");
    text += CrLf;
    text += "This is a multi-part message in MIME format." + CrLf + CrLf;
    for (const auto& [subtype, lines] : {std::pair{"plain", &Letter.Body}, std::pair{"html", &Letter.Html}}) {
        text += "--" + boundary + CrLf;
        field("Content-Type", TextPartType(subtype, cs));
        field("Content-Transfer-Encoding", TransferEncodingName(Letter.Encoding));
        text += CrLf;
        text += EncodedBody(*lines, cs, Letter.Encoding);
        text += CrLf;
    }
    text += "--" + boundary + "--" + CrLf;
    return text;
}

} // namespace quillet
