#include "app/link_rich_edit.h"
#include "app/open_link.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace quillet;

namespace quillet::test {
namespace {

// The runs of underlined characters in text order; each in the link colour, and no other text
// with a colour of its own.
QStringList MarkedRuns(const TLinkRichEdit& Edit) {
    QStringList Runs;
    for (QTextBlock Block = Edit.document()->begin(); Block.isValid(); Block = Block.next()) {
        bool InRun = false;
        for (auto It = Block.begin(); !It.atEnd(); ++It) {
            const QTextCharFormat Format = It.fragment().charFormat();
            const QString Text = It.fragment().text();
            if (Format.fontUnderline())
                EXPECT_EQ(Format.foreground().color(), Edit.HyperlinkColor());
            else
                EXPECT_FALSE(Format.hasProperty(QTextFormat::ForegroundBrush)) << Text.toStdString();
            if (Format.fontUnderline() && InRun)
                Runs.back() += Text;
            else if (Format.fontUnderline())
                Runs.push_back(Text);
            InRun = Format.fontUnderline();
        }
    }
    return Runs;
}

TEST(LinkRichEdit, MarksExactlyTheLinkCharacters) {
    struct Row {
        std::string Text;
        QStringList Marked;
    } Rows[] = {
        {"See http://h/a/b. Bye", {"http://h/a/b"}},
        {"Grüße: http://example.org/ä ok", {QString::fromUtf8("http://example.org/ä")}},
        // A four-byte character is two UTF-16 units.
        {"Zeile \xF0\x9F\x98\x80 eins\r\nMail jü@h.dom, or\r\n", {QString::fromUtf8("jü@h.dom")}},
        // A line that is not UTF-8 shows as Windows-1252, one character per byte; the next is UTF-8.
        {"D\xFC \x93www.h.dom\x94\r\nGrüße (ann@h.dom)", {"www.h.dom\u201D", "ann@h.dom"}},
        // A byte order mark at the start of a line is not shown.
        {"\xEF\xBB\xBFhttp://h/x\r\n\xEF\xBB\xBF\xC3\xA4 http://h/y", {"http://h/x", "http://h/y"}},
        // Control characters, line and paragraph separators and an object mark stay one character.
        {std::string("\0\t\v\f\x01 \xE2\x80\xA8\xE2\x80\xA9\xEF\xBF\xBC\xC2\xA0http://h/z", 27),
         {"http://h/z"}},
        {"\xC3\xA4 http://ann@h.dom", {"http://ann@h.dom"}}, // listed by two rules, marked once
        {"no links here", {}},
    };
    TLinkRichEdit Edit;
    for (const Row& R : Rows) {
        Edit.SetPlainBytes(R.Text);
        Edit.RefreshHyperlinks();
        EXPECT_EQ(MarkedRuns(Edit), R.Marked) << R.Text;
    }
}

TEST(LinkRichEdit, RefreshKeepsCaretAndFollowsActiveAndColour) {
    TLinkRichEdit Edit;
    Edit.SetPlainLines({"Mail ann@h.dom, or", "See http://h/a/b. Bye"});
    QTextCursor Caret = Edit.textCursor();
    Caret.setPosition(3);
    Caret.setPosition(7, QTextCursor::KeepAnchor);
    Edit.setTextCursor(Caret);
    EXPECT_EQ(Edit.RefreshHyperlinks(), 2);
    EXPECT_EQ(Edit.Links(), (std::vector<std::string>{"25,http://h/a/b", "6,ann@h.dom"}));
    EXPECT_EQ(Edit.textCursor().anchor(), 3);
    EXPECT_EQ(Edit.textCursor().position(), 7);

    Edit.SetHyperlinkColor(Qt::darkGreen);
    EXPECT_EQ(MarkedRuns(Edit), (QStringList{"ann@h.dom", "http://h/a/b"}));
    Edit.SetHyperlinksActive(false);
    EXPECT_TRUE(Edit.Links().empty());
    EXPECT_TRUE(MarkedRuns(Edit).isEmpty());

    // Text put in through QTextEdit's own function is searched as it is shown.
    Edit.SetHyperlinksActive(true);
    Edit.setPlainText(QString::fromUtf8("Grüße www.h.dom"));
    EXPECT_EQ(Edit.RefreshHyperlinks(), 1);
    EXPECT_EQ(MarkedRuns(Edit), QStringList{"www.h.dom"});
}

class LinkRichEditMouse : public ::testing::Test {
protected:
    void SetUp() override {
        Edit.resize(500, 200);
        Edit.setLineWrapMode(QTextEdit::NoWrap);
        Edit.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Edit));
        Edit.OnHyperlinkClicked = [this](const std::string& URL) { Clicked.push_back(URL); };
    }
    void Load(const std::vector<std::string>& Lines) {
        Edit.SetPlainLines(Lines);
        Edit.RefreshHyperlinks();
    }
    // The middle of the character at text position Index, in viewport coordinates.
    QPoint CharacterCentre(int Index) const {
        QTextCursor C(Edit.document());
        C.setPosition(Index);
        const QRect Left = Edit.cursorRect(C);
        C.setPosition(Index + 1);
        return {(Left.x() + Edit.cursorRect(C).x()) / 2, Left.center().y()};
    }
    int PositionOf(const QString& Text) const { return static_cast<int>(Edit.toPlainText().indexOf(Text)); }

    TLinkRichEdit Edit;
    std::vector<std::string> Clicked;
};

TEST_F(LinkRichEditMouse, HitTestCursorAndClicks) {
    Load({"Grüße: http://example.org/ä", "a second line that is longer than the first one", "x ann@h.dom y"});
    const int Web = PositionOf("http");
    const int WebEnd = Web + static_cast<int>(QString::fromUtf8("http://example.org/ä").size());
    const int Mail = PositionOf("ann@h.dom");
    const QPoint RightOfLine = CharacterCentre(WebEnd - 1) + QPoint(40, 0);
    struct Row {
        const char* Where;
        QPoint Point;
        int Link;
    } Rows[] = {
        {"first character", CharacterCentre(Web), 0},
        {"last character (ä)", CharacterCentre(WebEnd - 1), 0},
        {"character before the link", CharacterCentre(Web - 1), -1},
        {"right of the end of the line", RightOfLine, -1},
        {"e-mail address", CharacterCentre(Mail + 3), 1},
        {"blank after the address", CharacterCentre(Mail + 9), -1},
        {"below the last line", CharacterCentre(Mail) + QPoint(0, 60), -1},
    };
    for (const Row& R : Rows) {
        ASSERT_TRUE(Edit.viewport()->rect().contains(R.Point)) << R.Where;
        EXPECT_EQ(Edit.HyperlinkAt(R.Point.x(), R.Point.y()), R.Link) << R.Where;
        QTest::mouseMove(Edit.viewport(), R.Point);
        EXPECT_EQ(Edit.viewport()->cursor().shape(), R.Link >= 0 ? Qt::PointingHandCursor : Qt::IBeamCursor)
            << R.Where;
    }

    QTest::mouseClick(Edit.viewport(), Qt::RightButton, {}, CharacterCentre(Web));
    QTest::mouseClick(Edit.viewport(), Qt::LeftButton, {}, RightOfLine);
    QTest::mouseClick(Edit.viewport(), Qt::LeftButton, {}, CharacterCentre(Web + 3));
    QTest::mouseClick(Edit.viewport(), Qt::LeftButton, {}, CharacterCentre(Mail));
    EXPECT_EQ(Clicked, (std::vector<std::string>{"http://example.org/ä", "ann@h.dom"}));

    // A failing handler does not leave the pane.
    Edit.OnHyperlinkClicked = [](const std::string&) { throw std::runtime_error("no browser"); };
    QTest::mouseClick(Edit.viewport(), Qt::LeftButton, {}, CharacterCentre(Mail));
}

TEST_F(LinkRichEditMouse, ScrolledPaneHitsTheLinkUnderThePoint) {
    std::vector<std::string> Lines(60, "filler line");
    Lines.push_back("Grüße: http://h/ü");
    Load(Lines);
    Edit.verticalScrollBar()->setValue(Edit.verticalScrollBar()->maximum());
    const QPoint Link = CharacterCentre(PositionOf("http"));
    ASSERT_TRUE(Edit.viewport()->rect().contains(Link));
    QTest::mouseClick(Edit.viewport(), Qt::LeftButton, {}, Link);
    EXPECT_EQ(Clicked, std::vector<std::string>{"http://h/ü"});
}

TEST(OpenLink, TargetsAndUrls) {
    struct Row {
        const char* Link;
        const char* Url;
    } Rows[] = {
        {"ann@h.dom", "mailto:ann@h.dom"},           {"www.h.dom", "http://www.h.dom"},
        {"WWW.h.dom/@ann", "http://www.h.dom/@ann"}, {"http://ann@h.dom", "http://ann@h.dom"},
        {"mailto:ann@h.dom", "mailto:ann@h.dom"},    {"news:id@host", "news:id@host"},
        {"telnet://user@h", "telnet://user@h"},      {"https://h/ä", "https://h/%C3%A4"},
    };
    for (const Row& R : Rows)
        EXPECT_EQ(LinkUrl(R.Link).toString(QUrl::FullyEncoded).toStdString(), R.Url) << R.Link;
    EXPECT_EQ(LinkTarget("www.h.dom"), "www.h.dom");

    std::vector<QUrl> Opened;
    const TUrlOpener Previous = SetUrlOpener([&Opened](const QUrl& Url) { Opened.push_back(Url); });
    OpenLink("ann@h.dom");
    SetUrlOpener(Previous);
    EXPECT_EQ(Opened, std::vector<QUrl>{QUrl("mailto:ann@h.dom")});
}

} // namespace
} // namespace quillet::test
