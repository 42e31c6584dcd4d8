// The mail list's data: one row per entry of Mails, in Mails order (row i is Mails[i]), with
// the eight columns of grdMain. Every change of Mails that the list should show goes through
// this model, so that attached views stay in step.
#pragma once

#include "app/mail_row_texts.h"
#include "model/mails.h"

#include <QAbstractTableModel>
#include <memory>
#include <vector>

namespace quillet {

class TMailListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum : int {
        PictureRole = Qt::UserRole + 1, // int: the row icon's picture number (column 0)
        UniqueIdRole,                   // QString: the entry's UniqueID (any column)
    };

    explicit TMailListModel(TMails& Mails, QObject* Parent = nullptr);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

    TMails& Mails() const { return FMails; }
    // The texts of row MailIndex (0 <= MailIndex < rowCount()).
    const TMailRow& Row(int MailIndex) const { return FRows[static_cast<std::size_t>(MailIndex)]; }

    // Appends Mail to Mails and shows its row; returns its index in Mails.
    int AddMail(std::unique_ptr<TMail> Mail);
    // Shows the rows of entries that were appended to Mails directly since the model last looked.
    void MailsAppended();
    // Removes the entry at MailIndex from Mails together with its row.
    void RemoveMail(int MailIndex);
    // The entry at MailIndex changed (state, mark, fields): its row is written again.
    void MailChanged(int MailIndex);
    // Mails changed in ways the model was not told of: every row is built again.
    void MailsReset();
    // The mark command over the selected entries (see ToggleDeleteMarks); rows follow the marks.
    // Returns the sound slot to play.
    int ToggleDeleteMarks(const std::vector<int>& MailIndices);

private:
    TMails& FMails;
    std::vector<TMailRow> FRows; // the rows as shown; FRows[i] is built from Mails[i]
};

} // namespace quillet
