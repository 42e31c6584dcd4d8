// The texts of the mail list: what each row of grdMain shows, how two rows are ordered, and the
// texts of the mail properties, the Dump IDs diagnostic and the status bar. No widgets here.
#pragma once

#include "app/pictures.h"

#include "model/mail.h"
#include "model/mails.h"
#include "util/date_time.h"

#include <QCoreApplication>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The list's column numbers. The hidden UniqueID has a number of its own so that the sort can
// be asked for it, though no column shows it.
enum : int {
    colStt = 0,
    colAccount = 1,
    colFrom = 2,
    colTo = 3,
    colSubject = 4,
    colSize = 5,
    colDateSent = 6,
    colDateRcvd = 7,
    colUniqueID = 8,
};
inline constexpr int MailListColumns = 8; // visible columns 0..7
inline constexpr int DefaultSortCol = colSize;

// Row icons: a plain envelope, or one with a red cross for a mail marked for deleting.
inline constexpr int PictureEnvelope = lpEnvelope;
inline constexpr int PictureMarked = lpMarkedForDelete;
// Sort pictures in the header of the sort column.
inline constexpr int PictureSortDown = lpSortDown;
inline constexpr int PictureSortUp = lpSortUp;

// One row of the list as text. Cells[k] is the cell of column k + 1 (Account .. Date received),
// Cells[7] the hidden UniqueID. Dates holds the two date cells read back with CellDate, so that
// sorting by date does not parse text on every comparison.
struct TMailRow {
    std::string Caption; // "*" for a new mail
    std::array<std::string, 8> Cells;
    std::array<TDateTime, 2> Dates{0, 0};
    int Picture = PictureEnvelope;

    const std::string& Cell(int Column) const { return Cells[static_cast<std::size_t>(Column - 1)]; }
    bool New() const { return !Caption.empty(); }
    bool Marked() const { return Picture == PictureMarked; }
    bool operator==(const TMailRow&) const = default;
};

TMailRow MailRowTexts(const TMail& Mail);
// A row from its caption and cells alone (the date values come from the cells' text).
TMailRow MailRowFromCells(std::string Caption, const std::array<std::string, 8>& Cells);

// What the tooltip of a mail marked for deleting says.
inline constexpr const char* MarkedForDeletingHint =
    QT_TRANSLATE_NOOP("MailRowTexts", "Deleted from the server at the next check");
// The tooltip of a cell: its text (a narrow column cuts it), and for a mail marked for deleting a
// line saying what becomes of it. The Stt cell, which shows only a picture, says "New mail" for a
// new mail; an old mail that is not marked has no tooltip there.
std::string MailCellToolTip(const TMailRow& Row, int Column);

// The From cell: Name, " <", the trimmed address, ">", all trimmed of codes 0..32 at both ends.
std::string AddressCellPiece(std::string_view Name, std::string_view Addr);
// The To cell: one piece per recipient, joined with ", ".
std::string AddressListCell(const std::vector<std::string>& Names, const std::vector<std::string>& Addrs);
// (Size + 1023) / 1024 (towards zero) followed by " KB"; -1 (no listing line) gives "0 KB".
std::string SizeCell(std::int32_t Size);

// The user's short date, a blank and the long time; the time is left out at exactly midnight;
// empty for 0. The long time is used without a time-zone name, which would not read back.
std::string DateText(TDateTime Value);
// Reads a date cell back: 3 characters or fewer, or text that does not read in the same format
// as DateText, give 0. A two-digit year is placed within 80 years before and 20 years after today.
TDateTime CellDate(std::string_view Text);

// Case-insensitive comparison that folds only the ASCII letters (to upper case); other bytes
// compare by their code. Negative, 0 or positive.
int CompareTextAscii(std::string_view A, std::string_view B);

// A sort column the list knows: 0..8; anything else becomes the default (Size).
int ValidSortCol(int SortCol);
// Negative when A goes before B. SortCol 0 compares captions, 5 sizes by number, 6 and 7 dates
// by value, others the cell texts; LargestFirst turns the order round.
int CompareMailRows(int SortCol, bool LargestFirst, const TMailRow& A, const TMailRow& B);

// Mark or unmark for deleting, over the Mails indices of the selected rows in display order
// (-1 for a row without an entry). One row: its mark flips and the result is the sound slot of
// what it became (sndDelete when now marked, sndUndelete when unmarked); without an entry nothing
// happens (sndNone). Several rows: each entry flips on its own and the result is sndDelete.
int ToggleDeleteMarks(TMails& Mails, const std::vector<int>& MailIndices);

// The mail properties as lines ended by CR LF, labels followed by a tab.
std::string MailPropertiesText(const TMail& Mail);
// The lines that Dump IDs appends to the System pane: ">>>DUMP", one line per mail, and one
// "ERROR!!! ID match: " line per pair of mails sharing an identity.
std::vector<std::string> DumpIDsLines(const TMails& Mails);

// "hh:mm" of the last full check; 0 gives "00:00".
std::string CheckTimeText(TDateTime LastFullCheck);
// "Mails: " and the count (status bar panel 1).
std::string MailsPanelText(int Count);
// The same with the number of mails marked for deleting when there are any: "Mails: 30 (2 marked)".
std::string MailsPanelText(int Count, int Marked);
// The panel's tooltip: how many mails the list holds and how many go at the next check.
std::string MailsPanelHint(int Count, int Marked);
// "Last check: " and the time of the last full check, or "Not checked yet" before the first one
// (status bar panel 2).
std::string LastCheckPanelText(TDateTime LastFullCheck);
// The number of mails marked for deleting.
int MarkedCount(const TMails& Mails);
// "Quillet, " count ", " hh:mm: the window title and the tray hint.
std::string StatusTitle(int Count, TDateTime LastFullCheck);

} // namespace quillet
