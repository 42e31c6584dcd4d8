// Preview text of fetched messages: the part chosen, transfer encodings and character sets
// decoded, HTML made plain, parts cut off by TOP, and messages with nothing to show.
#include "mail/preview_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using TLines = std::vector<std::string>;

TEST(PreviewText, MessagesAsTheMessagePaneShowsThem) {
    const TLines alternativeHeader = {"Subject: Hi", "MIME-Version: 1.0",
                                      "Content-Type: multipart/alternative;", "\tboundary=\"b1\""};
    const TLines attachments = {"This is a multi-part message in MIME format.",
                                "--m",
                                "Content-Type: application/pdf; name=\"a.pdf\"",
                                "Content-Transfer-Encoding: base64",
                                "",
                                "JVBERi0xLjQK",
                                "--m",
                                "Content-Type: text/plain; name=\"notes.txt\"",
                                "Content-Disposition: attachment; filename=\"notes.txt\"",
                                "",
                                "an attached file, not the message",
                                "--m--"};
    const struct {
        const char* Name;
        TLines Header;
        TLines Body;
        TLines Lines;
        bool Decoded = true;
    } rows[] = {
        {"alternative: the quoted-printable plain part, not the base64 HTML one",
         alternativeHeader,
         {"This is a multi-part message in MIME format.", "", "--b1",
          "Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: quoted-printable", "",
          "Gr=C3=BC=C3=9Fe aus K=C3=B6ln,", "see you =", "soon.", "", "--b1",
          "Content-Type: text/html; charset=utf-8", "Content-Transfer-Encoding: base64", "",
          "PHA+SFRNTCB2ZXJzaW9uPC9wPg==", "--b1--"},
         {"Grüße aus Köln,", "see you soon."}},
        {"HTML only: tags, head, script, style and comments gone, entities decoded, links kept",
         {"Content-Type: text/html; charset=utf-8"},
         {"<html><head><title>T</title><style>p {color: red}</style>",
          "<script>var a = \"<p>no</p>\";</script></head>",
          "<body><!-- hidden <p>x</p> --><h1>News &amp; notes</h1>",
          "<p>Caf&eacute; &lt;3 &#8364;5 &#x263A;<br>Second&nbsp;line</p>",
          "<div>Read <a href=\"http://x.example/a?b=1&amp;c=2\">the   article</a>.</div>",
          "<ul><li>one</li><li><a href='mailto:me@x.example'>me@x.example</a></li></ul>", "</body></html>"},
         {"News & notes", "", "Café <3 €5 ☺", "Second line", "",
          "Read the article <http://x.example/a?b=1&c=2>.", "one", "me@x.example"}},
        {"nested mixed > alternative: plain preferred also when HTML comes first",
         {"MIME-Version: 1.0", "Content-Type: multipart/mixed; boundary=outer"},
         {"--outer",
          "Content-Type: multipart/alternative; boundary=\"inner\"",
          "",
          "--inner",
          "Content-Type: text/html; charset=us-ascii",
          "",
          "<b>Bold</b> text",
          "--inner",
          "Content-Type: text/plain; charset=us-ascii",
          "",
          "Plain text",
          "",
          "--inner--",
          "",
          "--outer",
          "Content-Type: application/pdf",
          "Content-Transfer-Encoding: base64",
          "",
          "JVBERi0xLjQK",
          "--outer--"},
         {"Plain text"}},
        {"cut inside a base64 line: whole quanta shown, the broken quantum and character dropped",
         {"MIME-Version: 1.0", "Content-Type: text/plain; charset=\"UTF-8\"",
          "Content-Transfer-Encoding: base64"},
         {"R3LDvMOfZSBh", "dXMgZGVtIEvDtm"},
         {"Grüße aus dem K"}},
        {"quoted-printable soft break; a final \"=\" dropped",
         {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: quoted-printable"},
         {"Soft =", "break and caf=C3=A9="},
         {"Soft break and café"}},
        {"quoted-printable cut inside an escape: \"=A\" and the half character before it dropped",
         {"Content-Type: text/plain; charset=utf-8", "Content-Transfer-Encoding: quoted-printable"},
         {"A=3DB  ", "caf=C3=A"},
         {"A=B", "caf"}},
        {"unknown charset: UTF-8 where the line is UTF-8, Windows-1252 where it is not",
         {"MIME-Version: 1.0", "Content-Type: text/plain; charset=\"x-unknown\"",
          "Content-Transfer-Encoding: 8bit"},
         {"Caf\xC3\xA9", "na\xEFve"},
         {"Café", "naïve"}},
        {"iso-8859-1",
         {"MIME-Version: 1.0", "Content-Type: text/plain; charset=ISO-8859-1",
          "Content-Transfer-Encoding: base64"},
         {"RnL2aGxpY2hlIEdy/N9l"},
         {"Fröhliche Grüße"}},
        {"windows-1251",
         {"Content-Type: text/plain; charset=windows-1251", "Content-Transfer-Encoding: quoted-printable"},
         {"=CF=F0=E8=E2=E5=F2, =EC=E8=F0!"},
         {"Привет, мир!"}},
        {"not MIME: the lines unchanged",
         {"Subject: plain", "From: a@x.example"},
         {"Hello,", "", "=3D stays, <b>so does this</b> &amp;", "-- "},
         {"Hello,", "", "=3D stays, <b>so does this</b> &amp;", "-- "}},
        {"text/plain 7bit: the lines unchanged",
         {"MIME-Version: 1.0", "Content-Type: text/plain;", " charset=us-ascii",
          "Content-Transfer-Encoding: 7bit"},
         {"Hello,", "", "=3D stays", ""},
         {"Hello,", "", "=3D stays", ""}},
        {"attachments only: nothing decoded, the raw lines",
         {"MIME-Version: 1.0", "Content-Type: multipart/mixed; boundary=\"m\""},
         attachments,
         attachments,
         false},
    };
    for (const auto& row : rows) {
        const TPreview preview = PreviewText(row.Header, row.Body);
        EXPECT_EQ(preview.Decoded, row.Decoded) << row.Name;
        EXPECT_EQ(preview.Lines, row.Lines) << row.Name;
    }
}

} // namespace
} // namespace quillet
