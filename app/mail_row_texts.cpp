#include "app/mail_row_texts.h"

#include "notify/sound_table.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <algorithm>
#include <unordered_map>

namespace quillet {

namespace {

// The user's date and time formats as the list writes and reads them, kept until the locale
// changes (building them for every row would cost more than the row itself).
struct TDateFormats {
    QLocale Locale;
    QString Date;
    QString Time;
    QString DateAndTime;
    bool TwoDigitYear = false;
};

// The long time format without its time-zone name ("t"): the name cannot be read back, and
// the list shows local times anyway. Quoted literals stay as they are.
QString TimeWithoutZone(const QString& Format) {
    QString out;
    bool quoted = false;
    for (const QChar c : Format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            out += c;
    }
    return out.simplified();
}

const TDateFormats& Formats() {
    static TDateFormats cache;
    static bool built = false;
    const QLocale locale;
    if (!built || cache.Locale != locale) {
        cache.Locale = locale;
        cache.Date = locale.dateFormat(QLocale::ShortFormat);
        cache.Time = TimeWithoutZone(locale.timeFormat(QLocale::LongFormat));
        cache.DateAndTime = cache.Date + u' ' + cache.Time;
        cache.TwoDigitYear =
            !cache.Date.contains(QStringLiteral("yyyy")) && cache.Date.contains(QStringLiteral("yy"));
        built = true;
    }
    return cache;
}

// A two-digit year read as 19xx, moved into the hundred years that end 20 years from now.
int WindowedYear(int Year) {
    const int last = QDate::currentDate().year() + 20;
    return last - (((last - Year % 100) % 100) + 100) % 100;
}

int Sign(long long V) {
    return V < 0 ? -1 : (V > 0 ? 1 : 0);
}

std::string Joined(std::initializer_list<std::string_view> Parts) {
    std::string out;
    for (const std::string_view p : Parts)
        out += p;
    return out;
}

// One line per person: "To: \tAnn Lee <ann@example.org>", the name or the address alone when
// the other is missing.
void AddPeopleLines(std::string& Out, const std::string& Kind, const std::vector<std::string>& Names,
                    const std::vector<std::string>& Addrs) {
    for (std::size_t i = 0; i < std::max(Names.size(), Addrs.size()); ++i) {
        const std::string name = i < Names.size() ? Names[i] : std::string();
        const std::string addr = i < Addrs.size() && !Addrs[i].empty() ? "<" + Addrs[i] + ">" : std::string();
        if (!name.empty() || !addr.empty())
            Out += Joined({Kind, " \t", name, !name.empty() && !addr.empty() ? " " : "", addr, "\r\n"});
    }
}

} // namespace

std::string AddressCellPiece(std::string_view Name, std::string_view Addr) {
    return std::string(TrimControls(Joined({Name, " <", TrimControls(Addr), ">"})));
}

std::string AddressListCell(const std::vector<std::string>& Names, const std::vector<std::string>& Addrs) {
    std::string out;
    for (std::size_t i = 0; i < Names.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += AddressCellPiece(Names[i], i < Addrs.size() ? std::string_view(Addrs[i]) : std::string_view());
    }
    return std::string(TrimControls(out));
}

std::string SizeCell(std::int32_t Size) {
    // In 64 bits so that sizes near the 32-bit limit do not overflow; -1 (no listing line) gives 0.
    return std::to_string((static_cast<long long>(Size) + 1023) / 1024) + " KB";
}

std::string DateText(TDateTime Value) {
    if (Value == 0)
        return {};
    const TDateFormats& f = Formats();
    const QDateTime at = DateTimeToQDateTime(Value);
    QString text = f.Locale.toString(at.date(), f.Date);
    if (at.time().msecsSinceStartOfDay() != 0)
        text += u' ' + f.Locale.toString(at.time(), f.Time);
    return FromQString(text);
}

TDateTime CellDate(std::string_view Text) {
    if (Text.size() <= 3)
        return 0;
    const TDateFormats& f = Formats();
    const QString text = ToQString(Text);
    QDate date;
    QTime time(0, 0);
    const QDateTime both = f.Locale.toDateTime(text, f.DateAndTime);
    if (both.isValid()) {
        date = both.date();
        time = both.time();
    } else {
        date = f.Locale.toDate(text, f.Date);
    }
    if (!date.isValid())
        return 0;
    const int year = f.TwoDigitYear ? WindowedYear(date.year()) : date.year();
    return EncodeDateTime(year, date.month(), date.day(), time.hour(), time.minute(), time.second(),
                          time.msec());
}

TMailRow MailRowFromCells(std::string Caption, const std::array<std::string, 8>& Cells) {
    TMailRow row;
    row.Caption = std::move(Caption);
    row.Cells = Cells;
    row.Dates = {CellDate(row.Cell(colDateSent)), CellDate(row.Cell(colDateRcvd))};
    return row;
}

TMailRow MailRowTexts(const TMail& Mail) {
    // A line break inside a field (a lone CR that a server passed through) shows as a space.
    const auto shown = [](std::string Text) {
        std::replace_if(
            Text.begin(), Text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        return Text;
    };
    // New in the latest check, or announced since the user last looked at the window.
    const bool fresh = Mail.State == TMailState::New || Mail.NotLookedAt;
    TMailRow row = MailRowFromCells(fresh ? "*" : "",
                                    {Mail.Account, shown(AddressCellPiece(Mail.FromName, Mail.FromAddr)),
                                     shown(AddressListCell(Mail.ToName, Mail.ToAddr)), shown(Mail.Subject),
                                     SizeCell(Mail.MailSize), DateText(Mail.DateSent),
                                     DateText(Mail.DateRcvd), Mail.UniqueID});
    row.Picture = Mail.MarkedForDelete ? PictureMarked : PictureEnvelope;
    return row;
}

std::string MailCellToolTip(const TMailRow& Row, int Column) {
    std::string text =
        Column == colStt
            ? (Row.New() ? FromQString(QCoreApplication::translate("MailRowTexts", "New mail")) : "")
            : Row.Cell(Column);
    if (Row.Marked())
        text += (text.empty() ? "" : "\n") +
                FromQString(QCoreApplication::translate("MailRowTexts", MarkedForDeletingHint));
    return text;
}

int CompareTextAscii(std::string_view A, std::string_view B) {
    const std::size_t n = std::min(A.size(), B.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(AsciiUpper(A[i]));
        const auto b = static_cast<unsigned char>(AsciiUpper(B[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return Sign(static_cast<long long>(A.size()) - static_cast<long long>(B.size()));
}

int ValidSortCol(int SortCol) {
    return SortCol >= colStt && SortCol <= colUniqueID ? SortCol : DefaultSortCol;
}

int CompareMailRows(int SortCol, bool LargestFirst, const TMailRow& A, const TMailRow& B) {
    const int col = ValidSortCol(SortCol);
    int result = 0;
    if (col == colStt) {
        result = CompareTextAscii(A.Caption, B.Caption);
    } else if (col == colSize) {
        const long long a = StrToIntSafe(DropRight(A.Cell(col), 3));
        const long long b = StrToIntSafe(DropRight(B.Cell(col), 3));
        result = Sign(a - b);
    } else if (col == colDateSent || col == colDateRcvd) {
        const auto k = static_cast<std::size_t>(col - colDateSent);
        result = A.Dates[k] > B.Dates[k] ? 1 : (A.Dates[k] < B.Dates[k] ? -1 : 0);
    } else {
        result = CompareTextAscii(A.Cell(col), B.Cell(col));
    }
    return LargestFirst ? -result : result;
}

int ToggleDeleteMarks(TMails& Mails, const std::vector<int>& MailIndices) {
    if (MailIndices.empty())
        return sndNone;
    if (MailIndices.size() == 1) {
        TMail* mail = Mails.Item(MailIndices.front());
        if (mail == nullptr)
            return sndNone;
        const int slot = mail->MarkedForDelete ? sndUndelete : sndDelete;
        mail->MarkedForDelete = !mail->MarkedForDelete;
        return slot;
    }
    for (const int index : MailIndices)
        if (TMail* mail = Mails.Item(index))
            mail->MarkedForDelete = !mail->MarkedForDelete;
    return sndDelete;
}

std::string MailPropertiesText(const TMail& Mail) {
    // A label, a blank and a tab before each value.
    const auto Label = [](const char* Text) {
        return FromQString(QCoreApplication::translate("MailProperties", Text));
    };
    std::string out =
        Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Account:")), " \t", Mail.Account, "\r\n"});
    out += Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Number on the server:")), " \t",
                   std::to_string(Mail.ServerIdx), "\r\n"});
    out += Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Identity:")), " \t", Mail.UniqueID, "\r\n"});
    out += Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Message ID:")), " \t", Mail.ServerID, "\r\n"});
    out += "\r\n";
    AddPeopleLines(out, Label(QT_TRANSLATE_NOOP("MailProperties", "From:")), {Mail.FromName},
                   {Mail.FromAddr});
    AddPeopleLines(out, Label(QT_TRANSLATE_NOOP("MailProperties", "To:")), Mail.ToName, Mail.ToAddr);
    AddPeopleLines(out, Label(QT_TRANSLATE_NOOP("MailProperties", "Cc:")), Mail.CCName, Mail.CCAddr);
    AddPeopleLines(out, Label(QT_TRANSLATE_NOOP("MailProperties", "Bcc:")), Mail.BCCName, Mail.BCCAddr);
    out += "\r\n";
    if (Mail.DateSent != 0)
        out += Joined(
            {Label(QT_TRANSLATE_NOOP("MailProperties", "Sent:")), " \t", DateText(Mail.DateSent), "\r\n"});
    if (Mail.DateRcvd != 0)
        out += Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Received:")), " \t",
                       DateText(Mail.DateRcvd), "\r\n"});
    const std::string size =
        Mail.MailSize >= 0
            ? FromQString(QCoreApplication::translate("MailProperties", "%1 bytes").arg(Mail.MailSize))
            : FromQString(QCoreApplication::translate("MailProperties", "not known"));
    out += Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Size:")), " \t", size, "\r\n"});
    out += Joined({Label(QT_TRANSLATE_NOOP("MailProperties", "Subject:")), " \t", Mail.Subject, "\r\n"});
    return out;
}

std::vector<std::string> DumpIDsLines(const TMails& Mails) {
    std::vector<std::string> lines{">>>DUMP"};
    // How many entries after each one share its identity: one error line per such pair, found
    // by counting rather than by comparing every pair.
    std::unordered_map<std::string_view, int> remaining;
    for (int i = 0; i < Mails.Count(); ++i) {
        lines.push_back(Joined({Mails[i].UniqueID, " - ", Mails[i].Account}));
        ++remaining[Mails[i].UniqueID];
    }
    for (int i = 0; i < Mails.Count(); ++i) {
        const int later = --remaining[Mails[i].UniqueID];
        for (int k = 0; k < later; ++k)
            lines.push_back(Joined({"ERROR!!! ID match: ", Mails[i].UniqueID, " - ", Mails[i].Account}));
    }
    return lines;
}

std::string CheckTimeText(TDateTime LastFullCheck) {
    return FromQString(DateTimeToQDateTime(LastFullCheck).time().toString(QStringLiteral("hh:mm")));
}

std::string MailsPanelText(int Count) {
    return FromQString(QCoreApplication::translate("MailRowTexts", "Mails: %1").arg(Count));
}

std::string MailsPanelText(int Count, int Marked) {
    if (Marked <= 0)
        return MailsPanelText(Count);
    return FromQString(QCoreApplication::translate("MailRowTexts", "Mails: %1 (%2 marked)")
                           .arg(QString::number(Count), QString::number(Marked)));
}

std::string MailsPanelHint(int Count, int Marked) {
    // Whole sentences for each case, so that a language can order them as it needs. Marked
    // mails are in the list, so more than one marked means more than one listed.
    if (Marked > 1)
        return FromQString(
            QCoreApplication::translate(
                "MailRowTexts", "%1 mails in the list; %2 are deleted from the server at the next check")
                .arg(QString::number(Count), QString::number(Marked)));
    const char* const text =
        Marked == 1
            ? (Count == 1
                   ? QT_TRANSLATE_NOOP("MailRowTexts",
                                       "1 mail in the list; 1 is deleted from the server at the next check")
                   : QT_TRANSLATE_NOOP("MailRowTexts", "%1 mails in the list; 1 is deleted from the "
                                                       "server at the next check"))
            : (Count == 1 ? QT_TRANSLATE_NOOP("MailRowTexts", "1 mail in the list")
                          : QT_TRANSLATE_NOOP("MailRowTexts", "%1 mails in the list"));
    const QString shown = QCoreApplication::translate("MailRowTexts", text);
    return FromQString(Count == 1 ? shown : shown.arg(Count));
}

std::string LastCheckPanelText(TDateTime LastFullCheck) {
    return FromQString(LastFullCheck == 0 ? QCoreApplication::translate("MailRowTexts", "Not checked yet")
                                          : QCoreApplication::translate("MailRowTexts", "Last check: %1")
                                                .arg(ToQString(CheckTimeText(LastFullCheck))));
}

int MarkedCount(const TMails& Mails) {
    int marked = 0;
    for (int i = 0; i < Mails.Count(); ++i)
        marked += Mails[i].MarkedForDelete ? 1 : 0;
    return marked;
}

std::string StatusTitle(int Count, TDateTime LastFullCheck) {
    return Joined({"Quillet, ", std::to_string(Count), ", ", CheckTimeText(LastFullCheck)});
}

} // namespace quillet
