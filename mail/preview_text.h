// The readable text of a fetched message for the Message pane: the first text part of what
// POP3 TOP returned, with its transfer encoding and character set decoded and HTML turned into
// plain lines.
//
// Use: `const TPreview Preview = PreviewText(Mail.HeaderLines(), Mail.BodyLines());` then show
// `Preview.Lines` (UTF-8) in the pane instead of the body lines as fetched.
#pragma once

#include <string>
#include <vector>

namespace quillet {

struct TPreview {
    // The text to show, one UTF-8 line each.
    std::vector<std::string> Lines;
    // False when nothing in the message could be decoded into text (only attachments, a broken
    // multipart, an unknown transfer encoding); Lines are then the body lines as fetched.
    bool Decoded = false;
};

// The preview of a message from its header lines (as fetched, folded lines allowed) and the body
// lines that TOP returned (the body may be cut off anywhere).
//
// A message without MIME header fields gives its body lines unchanged (bytes that are not UTF-8
// are read as Windows-1252). Otherwise the multipart tree is walked, nested levels included,
// for the first text part: text/plain is preferred among the alternatives of a
// multipart/alternative, text/html is shown without its tags, with line breaks where its blocks
// end, entities decoded and the address of every link kept in angle brackets after the link's
// text. Parts marked as attachments are passed over. Quoted-printable and base64 are decoded;
// where the fetched lines end inside a part, the part is shown as far as it goes, without a
// broken base64 quantum, escape or character at its end. The part's charset parameter picks the
// character set; an unknown or missing one reads the bytes as UTF-8 or else Windows-1252.
//
// Cost is linear in the size of the input, and so is the size of the result.
TPreview PreviewText(const std::vector<std::string>& HeaderLines, const std::vector<std::string>& BodyLines);

} // namespace quillet
