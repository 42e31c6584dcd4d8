#include "app/link_rich_edit.h"

#include "util/link_finder.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace quillet {

namespace {

// The text a pane shows for 8-bit text, with the position of each byte's character in it.
struct TShownText {
    QString Text;
    std::vector<int> Positions; // one per byte, and one for the end
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// UTF-16 units of valid UTF-8: one per sequence, two for a four-byte sequence.
qsizetype Utf8Units(std::string_view Line) {
    qsizetype Units = 0;
    for (char C : Line) {
        const auto B = static_cast<unsigned char>(C);
        if ((B & 0xC0) != 0x80)
            Units += B >= 0xF0 ? 2 : 1;
    }
    return Units;
}

// Appends one line (no line breaks in it), converted on its own so that a line that is not valid
// UTF-8 does not change how the others are shown.
void AppendLine(std::string_view Line, TShownText& Shown) {
    const QString Part = ToQString(Line);
    const auto Base = static_cast<int>(Shown.Text.size());
    const auto End = static_cast<int>(Base + Part.size());
    if (Part.size() == static_cast<qsizetype>(Line.size())) {
        // One character per byte: ASCII, or Windows-1252 for a line that is not UTF-8.
        for (std::size_t I = 0; I < Line.size(); ++I)
            Shown.Positions.push_back(Base + static_cast<int>(I));
    } else {
        // Read as UTF-8; the decoder drops a byte order mark at the start of the line.
        std::size_t I = 0;
        if (Line.starts_with(kByteOrderMark) && Utf8Units(Line) == Part.size() + 1)
            for (; I < kByteOrderMark.size(); ++I)
                Shown.Positions.push_back(Base);
        int Unit = Base;
        int Lead = Base;
        for (; I < Line.size(); ++I) {
            const auto B = static_cast<unsigned char>(Line[I]);
            if ((B & 0xC0) != 0x80) {
                Lead = Unit;
                Unit += B >= 0xF0 ? 2 : 1;
            }
            Shown.Positions.push_back(std::min(Lead, End));
        }
    }
    Shown.Text += Part;
}

TShownText ShowText(std::string_view Text) {
    TShownText Shown;
    Shown.Positions.reserve(Text.size() + 1);
    std::size_t LineStart = 0;
    for (;;) {
        const std::size_t Break = Text.find_first_of("\r\n", LineStart);
        AppendLine(Text.substr(LineStart, Break - LineStart), Shown);
        if (Break == std::string_view::npos)
            break;
        const std::size_t BreakLength = Text.substr(Break, 2) == "\r\n" ? 2 : 1;
        for (std::size_t I = 0; I < BreakLength; ++I)
            Shown.Positions.push_back(static_cast<int>(Shown.Text.size()));
        Shown.Text += QLatin1Char('\n');
        LineStart = Break + BreakLength;
    }
    Shown.Positions.push_back(static_cast<int>(Shown.Text.size()));
    // A final line break does not add an empty line at the end.
    if (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r')) {
        Shown.Text.chop(1);
        const auto Size = static_cast<int>(Shown.Text.size());
        for (auto It = Shown.Positions.rbegin(); It != Shown.Positions.rend() && *It > Size; ++It)
            *It = Size;
    }
    return Shown;
}

} // namespace

TLinkRichEdit::TLinkRichEdit(QWidget* Parent) : QTextEdit(Parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    viewport()->setMouseTracking(true);
    FDefaultCursor = viewport()->cursor().shape();
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        if (!FOwnChange)
            FChangedOutside = true;
    });
}

void TLinkRichEdit::SetPlainLines(const std::vector<std::string>& Lines) {
    // A CR inside a line of a message is data, not a line break: it shows as a space (one byte
    // for one, so link positions stay).
    std::vector<std::string> shown = Lines;
    for (std::string& line : shown)
        std::replace(line.begin(), line.end(), '\r', ' ');
    SetPlainBytes(JoinTextLines(shown));
}

void TLinkRichEdit::SetPlainBytes(std::string_view Text) {
    TShownText Shown = ShowText(Text);
    FText = std::string(Text);
    FTextPositions = std::move(Shown.Positions);
    FOwnChange = true;
    setPlainText(Shown.Text);
    FOwnChange = false;
    FChangedOutside = false;
}

void TLinkRichEdit::TakeTextFromDocument() {
    FText = FromQString(toPlainText());
    FTextPositions = ShowText(FText).Positions;
    FChangedOutside = false;
}

int TLinkRichEdit::TextPositionOf(std::size_t ByteOffset) const {
    if (FTextPositions.empty())
        return 0;
    return FTextPositions[std::min(ByteOffset, FTextPositions.size() - 1)];
}

int TLinkRichEdit::RefreshHyperlinks() {
    if (FChangedOutside)
        TakeTextFromDocument();
    FLinks.clear();
    FRanges.clear();

    const int HorizontalScroll = horizontalScrollBar()->value();
    const int VerticalScroll = verticalScrollBar()->value();
    const bool WasUpdating = updatesEnabled();
    setUpdatesEnabled(false);
    FOwnChange = true;

    // A cursor of its own formats the links, so the caret and its selection stay where they are.
    QTextCursor Format(document());
    Format.beginEditBlock();
    Format.select(QTextCursor::Document);
    Format.setCharFormat(QTextCharFormat());
    Format.clearSelection();

    if (FHyperlinksActive) {
        QTextCharFormat LinkFormat;
        LinkFormat.setFontUnderline(true);
        LinkFormat.setForeground(FHyperlinkColor);
        for (TFoundLink& Found : FindLinkList(FText)) {
            const auto Start = static_cast<std::size_t>(Found.Position - 1);
            TLinkRange Range{TextPositionOf(Start), TextPositionOf(Start + Found.Link.size()), {}};
            FLinks.push_back(std::to_string(Found.Position) + "," + Found.Link);
            Range.Link = std::move(Found.Link);
            Format.setPosition(Range.Start);
            Format.setPosition(Range.End, QTextCursor::KeepAnchor);
            Format.mergeCharFormat(LinkFormat);
            FRanges.push_back(std::move(Range));
        }
    }
    Format.endEditBlock();

    FOwnChange = false;
    horizontalScrollBar()->setValue(HorizontalScroll);
    verticalScrollBar()->setValue(VerticalScroll);
    setUpdatesEnabled(WasUpdating);
    viewport()->update();
    return static_cast<int>(FLinks.size());
}

int TLinkRichEdit::CharIndexAt(int X, int Y) const {
    const QPointF Point(X + horizontalScrollBar()->value(), Y + verticalScrollBar()->value());
    QAbstractTextDocumentLayout* Layout = document()->documentLayout();
    const int Nearest = Layout->hitTest(Point, Qt::FuzzyHit);
    if (Nearest < 0)
        return -1;
    const QTextBlock Block = document()->findBlock(Nearest);
    if (!Block.isValid() || Block.layout() == nullptr)
        return -1;
    const QPointF InBlock = Point - Layout->blockBoundingRect(Block).topLeft();
    const QTextLayout* BlockLayout = Block.layout();
    for (int I = 0; I < BlockLayout->lineCount(); ++I) {
        const QTextLine Line = BlockLayout->lineAt(I);
        const QRectF Rect = Line.naturalTextRect();
        if (InBlock.y() < Rect.top() || InBlock.y() >= Rect.bottom())
            continue;
        if (Line.textLength() == 0 || InBlock.x() < Rect.left() || InBlock.x() >= Rect.right())
            return -1;
        const int Offset = Line.xToCursor(InBlock.x(), QTextLine::CursorOnCharacter);
        const int Last = Line.textStart() + Line.textLength() - 1;
        return Block.position() + std::clamp(Offset, Line.textStart(), Last);
    }
    return -1;
}

int TLinkRichEdit::HyperlinkAt(int X, int Y) const {
    if (FRanges.empty())
        return -1;
    const int C = CharIndexAt(X, Y);
    if (C < 0)
        return -1;
    for (std::size_t I = 0; I < FRanges.size(); ++I)
        if (FRanges[I].Start <= C && C < FRanges[I].End)
            return static_cast<int>(I);
    return -1;
}

void TLinkRichEdit::SetHyperlinkColor(const QColor& Value) {
    FHyperlinkColor = Value;
    RefreshHyperlinks();
}

void TLinkRichEdit::SetHyperlinksActive(bool Value) {
    FHyperlinksActive = Value;
    RefreshHyperlinks();
}

void TLinkRichEdit::mouseMoveEvent(QMouseEvent* Event) {
    QTextEdit::mouseMoveEvent(Event);
    const QPoint P = Event->position().toPoint();
    viewport()->setCursor(HyperlinkAt(P.x(), P.y()) >= 0 ? Qt::PointingHandCursor : FDefaultCursor);
}

void TLinkRichEdit::mousePressEvent(QMouseEvent* Event) {
    QTextEdit::mousePressEvent(Event);
    if (Event->button() != Qt::LeftButton || !OnHyperlinkClicked)
        return;
    const QPoint P = Event->position().toPoint();
    const int I = HyperlinkAt(P.x(), P.y());
    if (I < 0)
        return;
    // A copy: the handler may load new text into this pane.
    const std::string Link = FRanges[static_cast<std::size_t>(I)].Link;
    // The handler runs inside a Qt event handler, which no exception may leave.
    try {
        OnHyperlinkClicked(Link);
    } catch (...) {
    }
}

} // namespace quillet
