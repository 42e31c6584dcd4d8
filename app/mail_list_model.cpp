#include "app/mail_list_model.h"

#include "util/text_convert.h"

#include <QCoreApplication>
#include <QFont>
#include <QIcon>

namespace quillet {

namespace {

// The column captions, translated where they are shown.
const char* const kCaptions[MailListColumns] = {
    QT_TRANSLATE_NOOP("MailColumns", "Stt"),       QT_TRANSLATE_NOOP("MailColumns", "Account"),
    QT_TRANSLATE_NOOP("MailColumns", "From"),      QT_TRANSLATE_NOOP("MailColumns", "To"),
    QT_TRANSLATE_NOOP("MailColumns", "Subject"),   QT_TRANSLATE_NOOP("MailColumns", "Size"),
    QT_TRANSLATE_NOOP("MailColumns", "Date sent"), QT_TRANSLATE_NOOP("MailColumns", "Date received")};

QIcon RowIcon(int Picture) {
    static const QIcon envelope(QStringLiteral(":/icons/pictures/2.svg"));
    static const QIcon marked(QStringLiteral(":/icons/pictures/8.svg"));
    return Picture == PictureMarked ? marked : envelope;
}

QVariant Alignment(int Column) {
    return QVariant::fromValue(Qt::AlignVCenter | (Column == colSize ? Qt::AlignRight : Qt::AlignLeft));
}

} // namespace

TMailListModel::TMailListModel(TMails& Mails, QObject* Parent) : QAbstractTableModel(Parent), FMails(Mails) {
    FShowTimer.setSingleShot(true);
    connect(&FShowTimer, &QTimer::timeout, this, &TMailListModel::ShowPendingRows);
    for (int i = 0; i < FMails.Count(); ++i)
        FRows.push_back(MailRowTexts(FMails[i]));
}

int TMailListModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TMailListModel::columnCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : MailListColumns;
}

QVariant TMailListModel::data(const QModelIndex& Index, int Role) const {
    if (!checkIndex(Index, CheckIndexOption::IndexIsValid))
        return {};
    const TMailRow& row = Row(Index.row());
    const int col = Index.column();
    switch (Role) {
    case Qt::DisplayRole:
        // The Stt cell shows only the picture: the "*" of a new mail would be cut to a stray
        // dot in the narrow column, and a new mail stands out in bold anyway.
        return col == colStt ? QVariant() : QVariant(ToQString(row.Cell(col)));
    case Qt::DecorationRole:
        return col == colStt ? QVariant(RowIcon(row.Picture)) : QVariant();
    case Qt::TextAlignmentRole:
        return Alignment(col);
    case Qt::FontRole: {
        // A new mail stands out in every column; a mail marked for deleting is struck through
        // in every column, not only by the small cross on its picture.
        if (!row.New() && !row.Marked())
            return {};
        QFont font;
        if (row.New())
            font.setBold(true);
        if (row.Marked())
            font.setStrikeOut(true);
        return font;
    }
    case Qt::ToolTipRole: {
        const std::string tip = MailCellToolTip(row, col);
        return tip.empty() ? QVariant() : QVariant(ToQString(tip));
    }
    case Qt::AccessibleTextRole:
        return col == colStt ? QVariant(ToQString(MailCellToolTip(row, col))) : QVariant();
    case PictureRole:
        return row.Picture;
    case UniqueIdRole:
        return ToQString(row.Cell(colUniqueID));
    default:
        return {};
    }
}

QVariant TMailListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Section < 0 || Section >= MailListColumns)
        return {};
    if (Role == Qt::DisplayRole)
        return QCoreApplication::translate("MailColumns", kCaptions[Section]);
    if (Role == Qt::TextAlignmentRole)
        return Alignment(Section);
    return {};
}

int TMailListModel::AddMail(std::unique_ptr<TMail> Mail) {
    const int index = FMails.Add(std::move(Mail));
    if (FShowTimer.isActive())
        return index;
    const qint64 since = FSinceShown.isValid() ? FSinceShown.elapsed() : ShowIntervalMs;
    if (since >= ShowIntervalMs)
        ShowPendingRows();
    else
        FShowTimer.start(static_cast<int>(ShowIntervalMs - since));
    return index;
}

void TMailListModel::ShowPendingRows() {
    FShowTimer.stop();
    const int first = static_cast<int>(FRows.size());
    const int last = FMails.Count() - 1;
    if (last < first)
        return;
    beginInsertRows(QModelIndex(), first, last);
    for (int i = first; i <= last; ++i)
        FRows.push_back(MailRowTexts(FMails[i]));
    endInsertRows();
    FSinceShown.start();
}

void TMailListModel::RemoveMail(int MailIndex) {
    ShowPendingRows(); // rows and Mails in step, so that the row to go is MailIndex
    if (MailIndex < 0 || MailIndex >= FMails.Count())
        return;
    beginRemoveRows(QModelIndex(), MailIndex, MailIndex);
    FMails.Delete(MailIndex);
    FRows.erase(FRows.begin() + MailIndex);
    endRemoveRows();
}

void TMailListModel::MailChanged(int MailIndex) {
    // A mail without a row yet gets its texts when the row is shown.
    if (MailIndex < 0 || MailIndex >= FMails.Count() || MailIndex >= rowCount())
        return;
    TMailRow row = MailRowTexts(FMails[MailIndex]);
    TMailRow& shown = FRows[static_cast<std::size_t>(MailIndex)];
    if (row == shown)
        return; // a check that meets a mail again changes nothing the list shows
    // A change of state or mark changes the font of every column.
    int last = row.Caption != shown.Caption || row.Picture != shown.Picture ? MailListColumns - 1 : -1;
    for (int col = colAccount; col < MailListColumns; ++col)
        if (row.Cell(col) != shown.Cell(col))
            last = col;
    shown = std::move(row);
    // From column 0 on: the sorted view places a row again only when the change covers
    // column 0, the column it sorts by (its order comes from the sort rule, whatever the column).
    Q_EMIT dataChanged(index(MailIndex, colStt), index(MailIndex, std::max(last, static_cast<int>(colStt))));
}

void TMailListModel::MailsReset() {
    FShowTimer.stop();
    beginResetModel();
    FRows.clear();
    for (int i = 0; i < FMails.Count(); ++i)
        FRows.push_back(MailRowTexts(FMails[i]));
    endResetModel();
}

int TMailListModel::ToggleDeleteMarks(const std::vector<int>& MailIndices) {
    const int slot = quillet::ToggleDeleteMarks(FMails, MailIndices);
    for (const int index : MailIndices)
        MailChanged(index);
    return slot;
}

} // namespace quillet
