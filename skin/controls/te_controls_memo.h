#pragma once
// The class library's memo, rich edit and scroll box with a skinned frame,
// a skinned background and skinned scroll bars. The memo draws its text
// over the theme's memo image; the rich edit keeps its own background
// colour (the theme's edit colour) and takes only the frame; the scroll
// box takes the theme's docking-area look.

#include "platform/classlib/ComCtrls_RichEdit.h"
#include "platform/classlib/ScrollBars.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "skin/controls/te_controls_subscroll.h"

namespace tarvel {

// What the memo and the rich edit share.
template <class Base>
class TTeMemoSkin : public TTeWrapped<Base> {
public:
    explicit TTeMemoSkin(TComponent* owner);

    void PaintBuffer(TCanvas& canvas, const TRect& rect) override;
    void PaintBorder(TCanvas& canvas, const TRect& rect) override;

protected:
    static void DeclareMemoMessages(TMessageTable& t);
    TteMemoDrawState DrawState();

private:
    void WMNCPaint(TMessage& m);
    void SNMThemeMessage(TMessage& m);
};

class TTeMemo : public TTeMemoSkin<TMemo> {
    TARVEL_CLASS(TTeMemo, TTeMemoSkin<TMemo>)

public:
    using TTeMemoSkin<TMemo>::TTeMemoSkin;
    // Paints the memo off screen and copies its client part to the window.
    void DoPaint();
    bool Painting() const { return painting_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void Change() override;

private:
    void WMEraseBkgnd(TMessage& m) { EraseWith(m, Inflated()); }
    void WMPaint(TMessage& m);
    void CNCtlColor(TMessage& m);

    bool painting_ = false;
};

class TTeRichEdit : public TTeMemoSkin<TRichEdit> {
    TARVEL_CLASS(TTeRichEdit, TTeMemoSkin<TRichEdit>)

public:
    using TTeMemoSkin<TRichEdit>::TTeMemoSkin;

protected:
    static void DeclareMessages(TMessageTable& t) { DeclareMemoMessages(t); }
};

class TTeScrollBox : public TTeWrapped<TScrollBox> {
    TARVEL_CLASS(TTeScrollBox, TTeWrapped<TScrollBox>)

public:
    explicit TTeScrollBox(TComponent* owner);

    void PaintBuffer(TCanvas& canvas, const TRect& rect) override;
    void PaintBorder(TCanvas& canvas, const TRect& rect) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void ThemeLinkChanged() override;

private:
    void WMNCPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void SNMThemeMessage(TMessage& m);
};

}  // namespace tarvel
