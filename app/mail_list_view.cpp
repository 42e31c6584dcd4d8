#include "app/mail_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace quillet {

TMailListView::TMailListView(QWidget* Parent) : QTreeView(Parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setHighlightSections(false);
    // Content widths are measured over the rows in view: cheap however long the list grows.
    header()->setResizeContentsPrecision(0);
}

void TMailListView::SetPlaceholderText(const QString& Text) {
    if (Text == FPlaceholderText)
        return;
    FPlaceholderText = Text;
    viewport()->update();
}

void TMailListView::keyPressEvent(QKeyEvent* Event) {
    const bool menuKey = (Event->key() == Qt::Key_F10 && Event->modifiers() == Qt::ShiftModifier) ||
                         (Event->key() == Qt::Key_Menu && Event->modifiers() == Qt::NoModifier);
    if (!menuKey || contextMenuPolicy() != Qt::CustomContextMenu) {
        QTreeView::keyPressEvent(Event);
        return;
    }
    // The menu opens below the start of the current row, where the eye already is.
    const QRect row = visualRect(currentIndex());
    const QPoint at = row.isValid() ? QPoint(row.left() + row.height(), row.bottom()) : QPoint(0, 0);
    Event->accept();
    Q_EMIT customContextMenuRequested(at);
}

void TMailListView::paintEvent(QPaintEvent* Event) {
    QTreeView::paintEvent(Event);
    if (FPlaceholderText.isEmpty() || (model() != nullptr && model()->rowCount(rootIndex()) > 0))
        return;
    QPainter painter(viewport());
    QColor text = palette().color(QPalette::Text);
    text.setAlphaF(0.6f);
    painter.setPen(text);
    const QRect area = viewport()->rect().adjusted(12, 12, -12, -12);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, FPlaceholderText);
}

} // namespace quillet
