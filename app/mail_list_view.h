// The view of the mail list (grdMain): rows of mails in eight columns, whole-row selection of
// several rows, a line that says what to do next while the list is empty, and the context menu
// from the keyboard (Shift+F10 or the menu key) as well as from the mouse.
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
    // The width that the cells of Column need (of the rows in view); -1 without a model.
    int ColumnContentWidth(int Column) const { return sizeHintForColumn(Column); }

protected:
    void paintEvent(QPaintEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    QString FPlaceholderText;
};

} // namespace quillet
