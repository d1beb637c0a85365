#pragma once
// TTeSplitter: a windowless bar that resizes the aligned control beside it
// by dragging: snapping below MinSize, a tracking line (inverted over the
// parent and its children) or live resizing, Escape to stop. It draws the
// theme's splitter element, else an optional bevel.

#include <functional>

#include "platform/classlib/ExtCtrls.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme.h"

namespace tarvel {

enum TResizeStyle : uint8_t { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

class TTeSplitter : public TTeGraphicControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeSplitter, TTeGraphicControl)

public:
    explicit TTeSplitter(TComponent* owner);
    ~TTeSplitter() override;

    // The resize cursor follows the side: rows for top and bottom, columns otherwise.
    void SetAlign(TAlign value);
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool value) { autoSnap_ = value; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value);
    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = std::max(1, value); }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }

    // The control being resized; null while idle.
    TControl* Sizing() const { return control_; }
    bool LineVisible() const { return lineVisible_; }
    // The visible, enabled control just outside the aligned side.
    TControl* FindControl();
    void PaintBuffer() override;

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanResize(int& newSize);
    virtual bool DoCanResize(int& newSize);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    virtual void StopSizing();

private:
    void SNMThemeMessage(TMessage&) { Invalidate(); }
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
    void CalcSplitSize(int x, int y, int& newSize, int& split);
    void AllocateLineDC();
    void ReleaseLineDC();
    void DrawLine();
    void UpdateControlSize();
    void FocusKeyDown(TObject* sender, WORD& key, TShiftState shift);

    bool autoSnap_ = true;
    bool beveled_ = false;
    int minSize_ = 30;
    TResizeStyle resizeStyle_ = rsPattern;

    TControl* control_ = nullptr;
    TPoint downPos_;
    int split_ = 0;
    int newSize_ = 0;
    int oldSize_ = -1;
    int maxSize_ = 0;
    HDC lineDC_{};
    HBRUSH brush_{};
    HBRUSH prevBrush_{};
    bool lineVisible_ = false;
    TWinControl* activeControl_ = nullptr;
    TKeyEvent oldKeyDown_;
};

}  // namespace tarvel
