#pragma once
// TTeControlBar: a container whose children sit in bands arranged in rows.
// Each band frames one child with a grabber strip on its left; dragging a
// band by its grabber moves it within its row or to another row, and with
// AutoDrag a band pulled far outside the bar (or with Ctrl held, or double
// clicked) starts a drag of its control. The bar keeps one dock record per
// band and per extra row of a multi-row band, in row order, and lays its
// children out from them. A transparent child shows the bar's face.

#include <functional>
#include <memory>
#include <vector>

#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/forms/te_forms_bandhost.h"

namespace tarvel {

// One band row: the first record of a row carries the row break.
struct TTeDockPos {
    TControl* Control = nullptr;
    TRect Insets;  // left (the grabber), top, right, bottom around the control
    bool Visible = true;
    bool Break = false;
    TPoint Pos;  // the band's top-left as the user left it
    int Width = 0;
    int Height = 0;
    int RowCount = 1;
    TTeDockPos* Parent = nullptr;   // the row above, for a second or later row of a band
    TTeDockPos* SubItem = nullptr;  // the band's next row
    // Working copies of the layout pass.
    bool TempBreak = false;
    TPoint TempPos;
    int TempWidth = 0;
};

enum TBandPaintOption : uint8_t { bpoGrabber, bpoFrame };
using TBandPaintOptions = TSet<TBandPaintOption>;

using TBandDragEvent = std::function<void(TObject* sender, TControl* control, bool& drag)>;
using TBandInfoEvent =
    std::function<void(TObject* sender, TControl* control, TRect& insets, int& preferredSize, int& rowCount)>;
using TBandMoveEvent = std::function<void(TObject* sender, TControl* control, TRect& rect)>;
using TBandPaintEvent = std::function<void(TObject* sender, TControl* control, TCanvas* canvas, TRect& rect,
                                           TBandPaintOptions& options)>;

class TTeControlBar : public TTeControl, public TTeThemeLinked, public TTeBandHost {
    TARVEL_CLASS(TTeControlBar, TTeControl)

public:
    explicit TTeControlBar(TComponent* owner);
    ~TTeControlBar() override;

    int RowSize() const { return rowSize_; }
    // A size below 1 would divide the band heights by nothing: it becomes 1.
    void SetRowSize(int value) { rowSize_ = value < 1 ? 1 : value; }
    bool RowSnap() const { return rowSnap_; }
    void SetRowSnap(bool value) { rowSnap_ = value; }
    bool AutoDrag() const { return autoDrag_; }
    void SetAutoDrag(bool value) { autoDrag_ = value; }
    bool AutoDock() const { return autoDock_; }
    void SetAutoDock(bool value) { autoDock_ = value; }

    TBandDragEvent OnBandDrag;
    TBandInfoEvent OnBandInfo;
    TBandMoveEvent OnBandMove;
    TBandPaintEvent OnBandPaint;
    TNotifyEvent OnPaint;

    // The records in row order (read only: for tests and inspection).
    const std::vector<std::unique_ptr<TTeDockPos>>& DockItems() const { return items_; }
    // The control whose band holds the client point; top-level visible bands only.
    TControl* HitTest(int x, int y);
    // Docks the control with its control rectangle `rect`; `fixBreaks`
    // rounds a snapped height up to whole rows and lets a band that lands at
    // the start of a row take over that row's break.
    void DockControl(TControl* control, const TRect& rect, bool fixBreaks = false);
    void UnDockControl(TControl* control);
    void ResetDockItems();
    void DoAlignControl();
    // Commits the layout: every record takes its place from its control.
    void StickControls();
    int GetGrabberSize();
    // The control most recently undocked; null after a reset.
    TControl* DockingControl() const { return docking_; }
    TControl* DraggedControl() const { return dragged_ ? dragged_->Control : nullptr; }

    void PaintBuffer() override;
    // The bar's background painted into another DC, behind a child.
    void PaintAsBackground(HDC dc);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    void AlignControls(TControl* control, TRect& rect) override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // With AutoDock a floating control that enters the bar docks at once and
    // goes on moving as a band under the pointer.
    void DockOver(TDragDockObject& source, int x, int y, TDragState state, bool& accept) override;

    virtual void DoBandMove(TControl* control, TRect& rect);
    virtual void DoBandPaint(TControl* control, TCanvas* canvas, TRect& rect, TBandPaintOptions& options);
    // Asks OnBandDrag; when allowed the control begins a drag at once.
    virtual bool DragControl(TControl* control, int x, int y, bool keepCapture);
    virtual void GetControlInfo(TControl* control, TRect& insets, int& preferredSize, int& rowCount);
    virtual void PaintControlFrame(TCanvas& canvas, TControl* control, const TRect& rect);
    virtual void PaintBackground();

private:
    struct TRow {
        size_t first, last;  // [first, last) in items_
    };

    void SNMThemeMessage(TMessage& m);
    void CNKeyDown(TMessage& m);
    bool UpdateItems(TControl* control);
    void RemoveRecordsOf(TControl* control, bool* handedOn);
    bool HasChild(const TControl* control) const;
    // A top-level visible record whose control is still a child.
    bool IsShownBand(const TTeDockPos& record) const;
    TTeDockPos* RecordOf(const TControl* control) const;
    size_t IndexOf(const TTeDockPos* record) const;
    TRect DefaultInsets();
    // The rows by their persistent breaks.
    std::vector<TRow> Rows() const;
    // Packs the rows top to bottom; true when a band's later rows pulled
    // the band along and the rows were packed once more.
    bool PackRows(const TRect& area);
    // Packs one row [first, last); a band that wraps ends the row early.
    void PackRow(const TRect& area, size_t first, size_t& last, int top);

    std::vector<std::unique_ptr<TTeDockPos>> items_;
    int rowSize_ = 26;
    bool rowSnap_ = false;
    bool autoDrag_ = true;
    bool autoDock_ = true;
    TTeDockPos* dragged_ = nullptr;
    TPoint grabOffset_;
    TControl* docking_ = nullptr;
    // The control whose own drag the bar started; its release ends it.
    TControl* undocking_ = nullptr;
    bool aligning_ = false;
    // While a band is re-docked: its former index and whether its row break
    // went to the next record.
    int redockIndex_ = -1;
    bool breakHandedOn_ = false;
};

// The classic band frame: a raised edge and, at its left, a grabber of two
// raised bars.
void DrawClassicBand(TCanvas& canvas, const TRect& rect, TBandPaintOptions options);

// Registers the control bar's background painter, once after each start of
// the theme core (whose end forgets the painters).
void RegisterControlBarBackground();

}  // namespace tarvel
