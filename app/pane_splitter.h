// The splitter between the mail list and the detail panes. The list keeps its share of the
// height when the window grows or shrinks (maximised, the list grows with the panes instead of
// staying a strip at the top); moving the handle, or setting a height, sets a new share.
#pragma once

#include <QSplitter>

namespace quillet {

class TPaneSplitter : public QSplitter {
public:
    explicit TPaneSplitter(QWidget* Parent = nullptr);

    // The height of both panes together (without the handle).
    int PaneTotal() const;
    // The list's height now.
    int ListHeight() const;
    // The list's share of PaneTotal; negative before the splitter has been laid out.
    double ListShare() const { return FShare; }
    // The list's height in a splitter of Total pixels, at the share it keeps.
    int ListHeightAt(int Total) const;

    // Makes the list Height pixels high now and keeps that share from here on.
    void SetListHeight(int Height);
    // Gives the list Share of the height now and from here on.
    void SetListShare(double Share);

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    void ApplyShare();
    double FShare = -1;
};

} // namespace quillet
