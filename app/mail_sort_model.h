// The mail list in display order: the rows of TMailListModel sorted by SortCol, the largest (or
// last) first when SortLargestFirst. A new or changed row moves to its sorted place on its
// own (found by binary search), without sorting the other rows again.
#pragma once

#include "app/mail_list_model.h"

#include <QSortFilterProxyModel>
#include <string>
#include <vector>

namespace quillet {

class TMailSortModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TMailSortModel(TMailListModel& Source, QObject* Parent = nullptr);

    TMailListModel& List() const { return FList; }

    int SortCol() const { return FSortCol; }
    bool SortLargestFirst() const { return FLargestFirst; }
    // Sorts the whole list by the rule; a SortCol outside 0..8 becomes 5 (Size).
    void SetSort(int SortCol, bool LargestFirst);
    // A click on the header of Column: the Stt column (0) changes nothing; the sort column
    // flips SortLargestFirst; another column becomes the sort column. Returns the sort picture of the
    // sort column afterwards.
    int ColumnClicked(int Column);
    // Picture 0 (pointing down) when the largest comes first, 1 otherwise.
    int SortPicture() const { return FLargestFirst ? PictureSortDown : PictureSortUp; }

    // The display row of the entry with this key (TMail::MatchKey); -1 when there is none. Rows
    // of mails added within the show interval are shown first.
    int FindRow(const std::string& Key) const;
    // The index in Mails of the entry shown in display row Row; -1 for no such row.
    int MailIndexOfRow(int Row) const;
    // The Mails indices of display rows (for example the selected ones), in display order.
    std::vector<int> MailIndicesOfRows(std::vector<int> Rows) const;

protected:
    bool lessThan(const QModelIndex& Left, const QModelIndex& Right) const override;
    bool filterAcceptsRow(int SourceRow, const QModelIndex& SourceParent) const override;

private:
    TMailListModel& FList;
    int FSortCol = DefaultSortCol;
    bool FLargestFirst = true;
};

} // namespace quillet
