#include "app/pane_splitter.h"

#include "app/list_layout.h"

#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

int Sum(const QList<int>& Sizes) {
    int sum = 0;
    for (const int size : Sizes)
        sum += size;
    return sum;
}

} // namespace

TPaneSplitter::TPaneSplitter(QWidget* Parent) : QSplitter(Qt::Vertical, Parent) {
    // The handle moved by the user: the list keeps the new share.
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const int total = PaneTotal();
        if (total > 0)
            FShare = static_cast<double>(ListHeight()) / total;
    });
}

int TPaneSplitter::PaneTotal() const {
    return Sum(sizes());
}

int TPaneSplitter::ListHeight() const {
    return sizes().value(0);
}

int TPaneSplitter::ListHeightAt(int Total) const {
    if (FShare < 0)
        return ListHeight();
    const int minList = count() > 0 ? widget(0)->minimumSizeHint().height() : 0;
    const int minPanes = count() > 1 ? widget(1)->minimumSizeHint().height() : 0;
    return ListHeightForShare(Total, FShare, minList, minPanes);
}

void TPaneSplitter::SetListHeight(int Height) {
    const int total = std::max(PaneTotal(), Height + 1);
    setSizes({Height, total - Height});
    FShare = static_cast<double>(Height) / total;
}

void TPaneSplitter::SetListShare(double Share) {
    FShare = Share;
    ApplyShare();
}

void TPaneSplitter::resizeEvent(QResizeEvent* Event) {
    // The list's share as it was laid out before this resize: the remembered one, unless the
    // heights were set since in another way (the remembered one is kept when it gives the same
    // pixels, so that many small resizes do not make the share creep).
    const int before = ListHeight();
    const int total = PaneTotal();
    const bool laidOut = Event->oldSize().isValid() && total == Event->oldSize().height() - handleWidth();
    QSplitter::resizeEvent(Event);
    if (count() != 2 || !laidOut || total <= 0)
        return;
    if (FShare < 0 || std::lround(FShare * total) != before)
        FShare = static_cast<double>(before) / total;
    ApplyShare();
}

void TPaneSplitter::ApplyShare() {
    const int total = PaneTotal();
    if (count() != 2 || total <= 0 || FShare < 0)
        return;
    const int list = ListHeightAt(total);
    if (list != ListHeight())
        setSizes({list, total - list});
}

} // namespace quillet
