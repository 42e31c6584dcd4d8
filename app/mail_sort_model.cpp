#include "app/mail_sort_model.h"

#include <algorithm>

namespace quillet {

TMailSortModel::TMailSortModel(TMailListModel& Source, QObject* Parent)
    : QSortFilterProxyModel(Parent), FList(Source) {
    setDynamicSortFilter(true);
    setSourceModel(&FList);
    // The order comes from SortCol and SortLargestFirst alone (lessThan); column 0 and ascending order
    // only switch the sorting on, and stay so for every rule, including the hidden UniqueID.
    sort(0, Qt::AscendingOrder);
}

void TMailSortModel::SetSort(int SortCol, bool LargestFirst) {
    FSortCol = ValidSortCol(SortCol);
    FLargestFirst = LargestFirst;
    invalidate();
}

int TMailSortModel::ColumnClicked(int Column) {
    if (Column == colStt || Column < 0 || Column >= MailListColumns)
        return SortPicture();
    SetSort(Column, Column == FSortCol ? !FLargestFirst : FLargestFirst);
    return SortPicture();
}

int TMailSortModel::FindRow(const std::string& Key) const {
    FList.ShowPendingRows(); // a mail added a moment ago is found too
    const int mail = FList.Mails().FindMail(Key);
    if (mail < 0 || mail >= FList.rowCount())
        return -1;
    return mapFromSource(FList.index(mail, 0)).row();
}

int TMailSortModel::MailIndexOfRow(int Row) const {
    if (Row < 0 || Row >= rowCount())
        return -1;
    const int mail = mapToSource(index(Row, 0)).row();
    return mail < FList.Mails().Count() ? mail : -1;
}

std::vector<int> TMailSortModel::MailIndicesOfRows(std::vector<int> Rows) const {
    std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    std::vector<int> mails;
    mails.reserve(Rows.size());
    for (const int row : Rows)
        mails.push_back(MailIndexOfRow(row));
    return mails;
}

bool TMailSortModel::lessThan(const QModelIndex& Left, const QModelIndex& Right) const {
    return CompareMailRows(FSortCol, FLargestFirst, FList.Row(Left.row()), FList.Row(Right.row())) < 0;
}

bool TMailSortModel::filterAcceptsRow(int, const QModelIndex&) const {
    return true;
}

} // namespace quillet
