// A read-only text pane that finds web addresses, other URLs and e-mail addresses in its text,
// shows them underlined in a link colour with a pointing-hand cursor over them, and reports a
// left click on one to its owner. The Message and Header panes mark their links; the System pane
// uses the same pane and never calls RefreshHyperlinks (or turns HyperlinksActive off).
//
// The pane's text is 8-bit text (UTF-8 bytes; a line that is not valid UTF-8 is shown as
// Windows-1252). Link positions in Links are 1-based byte positions in that text; the pane maps
// them to the characters that it shows.
#pragma once

#include <QColor>
#include <QTextEdit>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TLinkRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TLinkRichEdit(QWidget* Parent = nullptr);

    // Loads the lines, each followed by a line break, as the pane's text. Links are not marked
    // until RefreshHyperlinks is called.
    void SetPlainLines(const std::vector<std::string>& Lines);
    // Loads 8-bit text; CR LF, LF and a lone CR each break a line.
    void SetPlainBytes(std::string_view Text);
    // The text as loaded (when it was changed through QTextEdit's own functions, the text shown,
    // as UTF-8, after the next RefreshHyperlinks).
    const std::string& PlainBytes() const { return FText; }

    // Finds the links of the text again and marks them (underline, HyperlinkColor); removes all
    // marking first. The caret and the scroll position stay. Returns the number of links.
    int RefreshHyperlinks();

    // One entry per link as of the last RefreshHyperlinks: the link's 1-based byte position in
    // the text, a comma and the link text. Ordered by finding rule, not by position.
    const std::vector<std::string>& Links() const { return FLinks; }

    // The index in Links of the link under the point (viewport coordinates), or -1. A point beside
    // the text, such as right of the end of the link's line, is over no link.
    int HyperlinkAt(int X, int Y) const;
    // The text position of the character under the point (viewport coordinates), or -1 when the
    // point is over no character (left or right of its line's text, or below the last line).
    int CharIndexAt(int X, int Y) const;

    // Colour of link text (default blue). Setting it marks the links again.
    QColor HyperlinkColor() const { return FHyperlinkColor; }
    void SetHyperlinkColor(const QColor& Value);
    // When false, RefreshHyperlinks removes the marking and finds nothing (default true). Setting
    // it marks the links again.
    bool HyperlinksActive() const { return FHyperlinksActive; }
    void SetHyperlinksActive(bool Value);

    // Called with the link text when a link is pressed with the left button, after the pane
    // has placed its caret. An exception thrown by it is dropped.
    std::function<void(const std::string& URL)> OnHyperlinkClicked;

protected:
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    struct TLinkRange {
        int Start = 0; // text positions of the pane's document, end exclusive
        int End = 0;
        std::string Link;
    };

    // Rebuilds FText and FTextPositions from the document after a change made around SetPlainBytes.
    void TakeTextFromDocument();
    // Text position for a 0-based byte offset of FText.
    int TextPositionOf(std::size_t ByteOffset) const;

    std::string FText;
    // For each byte offset of FText (and one past the end): the position of its character in
    // the document. Line breaks are one character there; a UTF-8 sequence is one or two.
    std::vector<int> FTextPositions;
    bool FOwnChange = false;      // the document is being changed by this pane
    bool FChangedOutside = false; // the document was changed through QTextEdit's own functions
    std::vector<std::string> FLinks;
    std::vector<TLinkRange> FRanges;
    QColor FHyperlinkColor = Qt::blue;
    bool FHyperlinksActive = true;
    Qt::CursorShape FDefaultCursor = Qt::IBeamCursor;
};

} // namespace quillet
