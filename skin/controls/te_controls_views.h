#pragma once
// The class library's tree view and list view with a skinned frame, the
// theme's colours, skinned scroll bars and, for the list view, a column
// header painted by us: its window procedure is taken over so the native
// look never shows.

#include <memory>

#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/ComCtrls_TreeView.h"
#include "skin/controls/te_controls_subscroll.h"

namespace tarvel {

// Posted by a list view to itself after a size change: the last column is
// fitted once the new size is in place.
constexpr UINT LM_AUTOSIZECOLUMNS = 0x48F;

class TTeTreeView : public TTeWrapped<TTreeView> {
    TARVEL_CLASS(TTeTreeView, TTeWrapped<TTreeView>)

public:
    explicit TTeTreeView(TComponent* owner);

    void PaintBuffer(TCanvas& canvas, const TRect& rect) override;
    void PaintBorder(TCanvas& canvas, const TRect& rect) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void ThemeLinkChanged() override;

private:
    void WMNCPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { EraseWith(m, Inflated()); }
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    // The skin may give the tree's object a place of its own.
    void ApplyThemeBounds();
};

using TOnEraseBkgnd = std::function<void(TObject* sender, TCanvas& canvas)>;

class TTeListView : public TTeWrapped<TListView> {
    TARVEL_CLASS(TTeListView, TTeWrapped<TListView>)

public:
    explicit TTeListView(TComponent* owner);
    ~TTeListView() override;

    void PaintBuffer(TCanvas& canvas, const TRect& rect) override;
    void PaintBorder(TCanvas& canvas, const TRect& rect) override;

    // In the report the last column shown reaches the client's right edge;
    // dividers then drag as an outline.
    bool AutoSizeColumn() const { return autoSizeColumn_; }
    void SetAutoSizeColumn(bool value);
    bool DisableEraseBkgnd() const { return disableEraseBkgnd_; }
    void SetDisableEraseBkgnd(bool value) { disableEraseBkgnd_ = value; }
    void AutosizeColumns();
    // The rectangle of the header section shown at display place `place`.
    TRect GetHeaderSectionRect(int place);
    bool HeaderHooked() const { return headerProc_ != nullptr; }
    int PressedSection() const { return pressedSection_; }

    TOnEraseBkgnd OnEraseBkgnd;
    TNotifyEvent OnColumnResized;

protected:
    static void DeclareMessages(TMessageTable& t);
    // One header section; index -1 with `trailing` is the empty area right
    // of the last section.
    virtual void DrawHeaderSection(TCanvas& canvas, const TRect& rect, int index, const WideString& text,
                                   bool pressed, bool hot, bool trailing);
    virtual void HeaderWndProc(TMessage& message);
    void CreateHandleDone() override;
    void ThemeLinkChanged() override;
    void Resize() override;

private:
    void WMNCPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMPaint(TMessage& m);
    void LMAutosizeColumns(TMessage&) { AutosizeColumns(); }
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void HookHeader();
    void UnhookHeader();
    void PaintHeader(HDC dc);
    void DrawHeaderImage(TCanvas& canvas, const TRect& rect, int index);

    bool autoSizeColumn_ = false;
    bool disableEraseBkgnd_ = false;
    int pressedSection_ = -1;
    int hotSection_ = -1;  // never hot: the header does not track the mouse
    struct THeaderLink;
    std::shared_ptr<THeaderLink> headerLink_;
    HWND header_ = nullptr;
    WNDPROC headerProc_ = nullptr;
};

}  // namespace tarvel
