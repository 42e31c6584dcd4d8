// The mail list's data: one row per entry of Mails, in Mails order (row i is Mails[i]), with
// the eight columns of grdMain. Every change of Mails that the list should show goes through
// this model, so that attached views stay in step.
//
// New mails are shown at most every ShowIntervalMs: a check that adds thousands of mails quickly
// would otherwise have the views lay out and repaint once per mail, which costs far more than
// the mail itself. The first mail after a quiet spell shows at once; later ones follow together
// when the interval is over (the event loop must run), or at once through ShowPendingRows.
#pragma once

#include "app/mail_row_texts.h"
#include "model/mails.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QTimer>
#include <deque>
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

    static constexpr int ShowIntervalMs = 40;

    // Appends Mail to Mails and shows its row (at once or within ShowIntervalMs); returns its
    // index in Mails.
    int AddMail(std::unique_ptr<TMail> Mail);
    // Shows every entry of Mails that has no row yet: mails added within the interval, and
    // entries appended to Mails directly. Call it before reading rows right after adding mails.
    void ShowPendingRows();
    // Removes the entry at MailIndex from Mails together with its row.
    void RemoveMail(int MailIndex);
    // The entry at MailIndex changed (state, mark, fields): its row is written again. Views hear
    // of the columns whose text or picture changed, and of nothing when none did.
    void MailChanged(int MailIndex);
    // Mails changed in ways the model was not told of: every row is built again.
    void MailsReset();
    // The mark command over the selected entries (see ToggleDeleteMarks); rows follow the marks.
    // Returns the sound slot to play.
    int ToggleDeleteMarks(const std::vector<int>& MailIndices);

private:
    TMails& FMails;
    // The rows as shown; FRows[i] is built from Mails[i]. A deque grows by a row at a time, where
    // a vector of many thousand rows would keep up to as many again in reserve.
    std::deque<TMailRow> FRows;
    QTimer FShowTimer; // shows the mails added since the last rows were shown
    QElapsedTimer FSinceShown;
};

} // namespace quillet
