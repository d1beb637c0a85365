#pragma once
// Tab sheets on a TTeTabControl with UsePages, and TTePageControl, which
// always has pages. One tab stands for each sheet whose PageVisible is on;
// the active sheet fills the page area and shows the part of the frame
// under it; the others are hidden.

#include <functional>

#include "platform/classlib/Controls.h"
#include "skin/extctrls/te_extctrls_tabs.h"

namespace tarvel {

class TTeTabSheet : public TCustomControl {
    TARVEL_CLASS(TTeTabSheet, TCustomControl)

public:
    explicit TTeTabSheet(TComponent* owner);
    ~TTeTabSheet() override;

    TTeTabControl* TabControl() const { return tabControl_; }
    // Leaves the previous control (keeping this sheet) and joins the end of the new one's pages.
    void SetTabControl(TTeTabControl* control);
    int PageIndex() const;
    // Exchanges places with the page at index; EListError outside the page list.
    void SetPageIndex(int index);
    bool PageVisible() const { return pageVisible_; }
    void SetPageVisible(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The tab position of this sheet, -1 while it has no tab.
    int TabIndex() const;

    void SetVisible(bool visible) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

    // The control's frame under the sheet, in the sheet's coordinates.
    void PaintOwnerBackground(HDC dc);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    virtual void DoShow();
    virtual void DoHide();

private:
    friend class TTeTabControl;
    void CMTextChanged(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }

    TTeTabControl* tabControl_ = nullptr;
    bool pageVisible_ = true;
    int imageIndex_ = -1;
    bool destroying_ = false;
};

class TTePageControl : public TTeTabControl {
    TARVEL_CLASS(TTePageControl, TTeTabControl)

public:
    explicit TTePageControl(TComponent* owner);
};

// The background painter that lets transparent controls on a sheet show
// the page face; the extended controls' start-up registers it.
void RegisterTabSheetBackground();

}  // namespace tarvel
