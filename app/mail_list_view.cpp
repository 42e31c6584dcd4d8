#include "app/mail_list_view.h"

#include <QHeaderView>
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
}

void TMailListView::SetPlaceholderText(const QString& Text) {
    if (Text == FPlaceholderText)
        return;
    FPlaceholderText = Text;
    viewport()->update();
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
