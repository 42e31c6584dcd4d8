// The view of the mail list (grdMain): rows of mails in eight columns, whole-row selection of
// several rows, and a line that says what to do next while the list is empty.
#pragma once

#include <QString>
#include <QTreeView>

namespace quillet {

class TMailListView : public QTreeView {
    Q_OBJECT
public:
    explicit TMailListView(QWidget* Parent = nullptr);

    // Shown in the middle of the empty list.
    void SetPlaceholderText(const QString& Text);
    const QString& PlaceholderText() const { return FPlaceholderText; }

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QString FPlaceholderText;
};

} // namespace quillet
