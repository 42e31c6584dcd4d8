// One message of the demo mailbox described in plain terms (UTF-8 texts, people, dates as text)
// and its composition into the bytes that a mail server would store: header fields with encoded
// words where a name or subject needs them (RFC 2047), the body in its character set and transfer
// encoding, CR LF after every line (RFC 5322).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

struct TDemoPerson {
    std::string Name; // UTF-8; empty for a bare address
    std::string Address;
};

enum class TBodyEncoding { SevenBit, EightBit, QuotedPrintable, Base64 };

struct TDemoLetter {
    // Whole "Received" fields (folded lines joined with CR LF and a tab, no final CR LF), newest first.
    std::vector<std::string> Received;
    std::string ReturnPath;
    std::string DateText; // the Date value as it stands
    TDemoPerson From;
    std::vector<TDemoPerson> To;
    std::vector<TDemoPerson> Cc;
    std::string Subject; // UTF-8
    std::string MessageId;
    std::string InReplyTo;
    std::vector<std::string> References;
    // Further fields after the addressing ones (List-Id, Reply-To, Precedence...), values as they stand.
    std::vector<std::pair<std::string, std::string>> ExtraFields;

    // The character set of the encoded words and the body, and the encoding of the words ('Q' or 'B').
    std::string Charset = "us-ascii";
    char WordEncoding = 'Q';
    TBodyEncoding Encoding = TBodyEncoding::SevenBit;
    std::vector<std::string> Body; // UTF-8 lines
    // When not empty, the message is multipart/alternative: Body as text/plain, these lines as text/html.
    std::vector<std::string> Html;
    std::string Boundary;
};

// The stored text of the letter.
std::string ComposeLetter(const TDemoLetter& Letter);

// Utf8 in the named character set (the bytes as they are when the set is unknown).
std::string ToCharset(std::string_view Utf8, std::string_view Charset);

// A header text (subject or display name) with every run of words that is not plain ASCII
// replaced by encoded words in Charset; ASCII words stay readable.
std::string EncodeHeaderText(std::string_view Utf8, std::string_view Charset, char Encoding);

// Quoted-printable lines (RFC 2045) for Bytes, each at most 76 characters, soft line breaks
// where a line must be split. Bytes is one line of text without its line break.
std::vector<std::string> QuotedPrintableLines(std::string_view Bytes);

} // namespace quillet
