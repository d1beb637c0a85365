#include "skin/core/te_theme_types.h"

#include "skin/core/te_const.h"

namespace tarvel {

TteBackgroundInfo BackgroundInfo(const TRect& r) { return TteBackgroundInfo{r, nullptr, r}; }

TteBackgroundInfo BackgroundInfo(const TRect& r, TControl* control, const TRect& clip) {
    return TteBackgroundInfo{r, control, clip};
}

TteTextInfo TextInfo(const TRect& r, const WideString& text, TteTextAlign align, TteTextStyles style,
                     TteTextOrientation orientation) {
    return TteTextInfo{r, text, align, style, orientation};
}

TteTextInfo TextInfo(const TRect& r, const WideString& text, unsigned flags) {
    const int row = (flags & DT_VCENTER) ? 1 : (flags & DT_BOTTOM) ? 2 : 0;
    const int column = (flags & DT_CENTER) ? 3 : (flags & DT_RIGHT) ? 6 : 0;
    static constexpr struct {
        unsigned flag;
        TteTextStyle style;
    } kStyles[] = {{DT_RTLREADING, ktxsRTLReading},
                   {DT_NOPREFIX, ktxsNoPrefix},
                   {DT_SINGLELINE, ktxsSingleLine},
                   {DT_WORDBREAK, ktxsWordBreak}};
    TteTextStyles style;
    for (const auto& s : kStyles)
        if (flags & s.flag) style.Include(s.style);
    return TteTextInfo{r, text, static_cast<TteTextAlign>(row + column), style, ktxoHorizontal};
}

std::shared_ptr<TteBitmap> GraphicToBitmap(TGraphic* graphic) {
    auto bitmap = std::make_shared<TteBitmap>();
    if (graphic) bitmap->Assign(graphic);
    return bitmap;
}

std::shared_ptr<TteBitmap> ImagesToBitmap(TCustomImageList* images, int index, bool enabled) {
    auto bitmap = std::make_shared<TteBitmap>();
    if (!images || images->Width() <= 0 || images->Height() <= 0) return bitmap;
    bitmap->SetSize(images->Width(), images->Height());
    if (images->Masked() || images->DrawingStyle() == dsTransparent) {
        bitmap->Clear(teKeyColor);
        bitmap->Transparent = true;
    }
    TCanvas canvas;
    canvas.SetHandle(bitmap->DC());
    images->Draw(&canvas, 0, 0, index, enabled);
    canvas.SetHandle(HDC{});
    return bitmap;
}

namespace {

template <class Record>
Record Owning(Record record, std::shared_ptr<TteBitmap> bitmap) {
    record.Bitmap = bitmap.get();
    record.Owned = std::move(bitmap);
    return record;
}

}  // namespace

TteGlyphInfo GlyphInfo() {
    TteGlyphInfo info;
    info.Rect = NullRect;
    return info;
}

TteGlyphInfo GlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align) {
    TteGlyphInfo info;
    info.Rect = r;
    info.Bitmap = bitmap;
    info.Align = align;
    return info;
}

TteGlyphInfo GlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align) {
    return Owning(GlyphInfo(r, static_cast<TteBitmap*>(nullptr), align), GraphicToBitmap(graphic));
}

TteGlyphInfo GlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align) {
    return Owning(GlyphInfo(r, static_cast<TteBitmap*>(nullptr), align), ImagesToBitmap(images, index, true));
}

TteWindowInfo WindowInfo(const TRect& r, TteWindowDrawStates drawState, const TRect& clip,
                         TteWindowButtons buttons, const WideString& caption, bool disabledNCArea) {
    return TteWindowInfo{r, drawState, buttons, clip, caption, disabledNCArea};
}

TteWindowButtonInfo WindowButtonInfo(const TRect& r, TteWindowButtonClass buttonClass,
                                     TteWindowButtonDrawState drawState, TteBitmap* bitmap) {
    return TteWindowButtonInfo{r, buttonClass, drawState, bitmap};
}

TteWindowGripperInfo WindowGripperInfo(const TRect& r, bool sizeable) {
    return TteWindowGripperInfo{r, sizeable};
}

TteHintInfo HintInfo(const TRect& r) { return {{r}}; }
TteScrollInfo ScrollInfo(const TRect& r) { return {{r}}; }
TtePanelInfo PanelInfo(const TRect& r) { return {{r}}; }
TteTrackInfo TrackInfo(const TRect& r) { return {{r}}; }
TteSplitterInfo SplitterInfo(const TRect& r) { return {{r}}; }
TteMemoGutterInfo MemoGutterInfo(const TRect& r) { return {{r}}; }
TteTabInfo TabInfo(const TRect& r) { return {{r}}; }
TteHeaderInfo HeaderInfo(const TRect& r) { return {{r}}; }
TteStatusInfo StatusInfo(const TRect& r) { return {{r}}; }
TteBarDockInfo BarDockInfo(const TRect& r) { return {{r}}; }
TteMenuInfo MenuInfo(const TRect& r) { return {{r}}; }
TteDockInfo DockInfo(const TRect& r) { return {{r}}; }
TteToolInfo ToolInfo(const TRect& r) { return {{r}}; }
TteListInfo ListInfo(const TRect& r) { return {{r}}; }
TteListColumnInfo ListColumnInfo(const TRect& r) { return {{r}}; }
TteTreeInfo TreeInfo(const TRect& r) { return {{r}}; }
TteGridInfo GridInfo(const TRect& r) { return {{r}}; }

TteLabelInfo LabelInfo(TteLabelDrawState drawState) { return TteLabelInfo{drawState}; }
TteButtonInfo ButtonInfo(const TRect& r, TteButtonDrawState drawState) { return {r, drawState}; }
TteCheckInfo CheckInfo(const TRect& r, TteCheckDrawState drawState) { return {r, drawState}; }
TteEditInfo EditInfo(const TRect& r, TteEditDrawState drawState) { return {r, drawState}; }
TteEditButtonInfo EditButtonInfo(const TRect& r, TteEditButtonDrawState drawState,
                                 TteEditButtonClass buttonClass) {
    return {r, drawState, buttonClass};
}
TteScrollButtonInfo ScrollButtonInfo(const TRect& r, TteScrollButtonDrawState drawState,
                                     TteScrollButtonClass buttonClass) {
    return {r, buttonClass, drawState};
}
TteScrollAreaInfo ScrollAreaInfo(const TRect& r, TteScrollAreaDrawState drawState,
                                 TteScrollAreaClass areaClass) {
    return {r, areaClass, drawState};
}
TteProgressInfo ProgressInfo(const TRect& r, TteProgressPart part, TteProgressDrawState drawState) {
    return {r, part, drawState};
}
TtePanelButtonInfo PanelButtonInfo(const TRect& r, TtePanelButtonClass buttonClass,
                                   TtePanelButtonDrawState drawState) {
    return {r, buttonClass, drawState};
}
TteTrackBarInfo TrackBarInfo(const TRect& r, TteTrackBarClass barClass, TteTrackBarDrawState drawState) {
    return {r, barClass, drawState};
}
TteTrackThumbInfo TrackThumbInfo(const TRect& r, TteTrackThumbClass thumbClass,
                                 TteTrackThumbDrawState drawState) {
    return {r, thumbClass, drawState};
}
TteSplitterButtonInfo SplitterButtonInfo(const TRect& r, TteSplitterButtonClass buttonClass) {
    return {r, buttonClass};
}
TteGroupInfo GroupInfo(const TRect& r, const TRect& textRect, TteGroupDrawState drawState) {
    return {r, textRect, drawState};
}
TteMemoInfo MemoInfo(const TRect& r, TteMemoDrawState drawState) { return {r, drawState}; }
TteBoxInfo BoxInfo(const TRect& r, TteBoxDrawState drawState) { return {r, drawState}; }
TteTabItemInfo TabItemInfo(const TRect& r, TteTabItemClass itemClass, TteTabItemDrawState drawState) {
    return {r, itemClass, drawState};
}
TteTabButtonInfo TabButtonInfo(const TRect& r, TteTabButtonClass buttonClass,
                               TteTabButtonDrawState drawState) {
    return {r, buttonClass, drawState};
}
TteHeaderSectionInfo HeaderSectionInfo(const TRect& r, TteSectionState sectionState,
                                       TteSectionDrawState drawState) {
    return {r, sectionState, drawState};
}
TteStatusPanelInfo StatusPanelInfo(const TRect& r, TteStatusPanelClass panelClass) { return {r, panelClass}; }
TteBarInfo BarInfo(const TRect& r, bool showBevel, bool showCaption) { return {r, showCaption, showBevel}; }
TteBarCaptionInfo BarCaptionInfo(const TRect& r, const WideString&) { return {r, kbcdsNormal}; }
TteBarButtonInfo BarButtonInfo(const TRect& r, TteBarButtonClass buttonClass,
                               TteBarButtonDrawState drawState) {
    return {r, buttonClass, drawState};
}
TteBarItemInfo BarItemInfo(const TRect& r, TteBarItemClass itemClass, TteBarItemDrawState drawState) {
    return {r, itemClass, drawState};
}
TteMenuItemInfo MenuItemInfo(const TRect& r, TteMenuItemClass itemClass, TteMenuItemDrawState drawState) {
    return {r, itemClass, drawState};
}

// The menu and tool glyph builders are one family over the glyph enumeration.
namespace {

template <class Info, class Glyph>
Info PictureGlyph(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, Glyph glyph) {
    Info info;
    info.Rect = r;
    info.Bitmap = bitmap;
    info.Align = align;
    info.Glyph = glyph;
    return info;
}

}  // namespace

TteMenuGlyphInfo MenuGlyphInfo() {
    return PictureGlyph<TteMenuGlyphInfo>(NullRect, nullptr, kgfaTopLeft, kmgNone);
}
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, TteMenuGlyph glyph) {
    return PictureGlyph<TteMenuGlyphInfo>(r, bitmap, align, glyph);
}
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TteMenuGlyph glyph) {
    return PictureGlyph<TteMenuGlyphInfo>(r, nullptr, kgfaCenter, glyph);
}
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align) {
    return Owning(PictureGlyph<TteMenuGlyphInfo>(r, nullptr, align, kmgGlyph), GraphicToBitmap(graphic));
}
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align,
                               bool enabled) {
    return Owning(PictureGlyph<TteMenuGlyphInfo>(r, nullptr, align, kmgGlyph),
                  ImagesToBitmap(images, index, enabled));
}

TteToolItemInfo ToolItemInfo(const TRect& r, TteToolItemClass itemClass, TteToolItemDrawState drawState) {
    return {r, itemClass, drawState};
}
TteToolGlyphInfo ToolGlyphInfo() {
    return PictureGlyph<TteToolGlyphInfo>(NullRect, nullptr, kgfaTopLeft, ktgNone);
}
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, TteToolGlyph glyph) {
    return PictureGlyph<TteToolGlyphInfo>(r, bitmap, align, glyph);
}
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TteToolGlyph glyph) {
    return PictureGlyph<TteToolGlyphInfo>(r, nullptr, kgfaCenter, glyph);
}
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align) {
    return Owning(PictureGlyph<TteToolGlyphInfo>(r, nullptr, align, ktigGlyph), GraphicToBitmap(graphic));
}
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align,
                               bool enabled) {
    return Owning(PictureGlyph<TteToolGlyphInfo>(r, nullptr, align, ktigGlyph),
                  ImagesToBitmap(images, index, enabled));
}

TteListItemInfo ListItemInfo(const TRect& r, TteListItemDrawState drawState) { return {r, drawState}; }
TteListGlyphInfo ListGlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, TteListGlyph glyph) {
    return PictureGlyph<TteListGlyphInfo>(r, bitmap, align, glyph);
}
TteListGlyphInfo ListGlyphInfo(const TRect& r, TteListGlyph glyph) {
    return PictureGlyph<TteListGlyphInfo>(r, nullptr, kgfaCenter, glyph);
}
// A picture in a list is always centred, whatever alignment is asked for.
TteListGlyphInfo ListGlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign) {
    return Owning(PictureGlyph<TteListGlyphInfo>(r, nullptr, kgfaCenter, klgCustom),
                  GraphicToBitmap(graphic));
}
TteListGlyphInfo ListGlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign) {
    return Owning(PictureGlyph<TteListGlyphInfo>(r, nullptr, kgfaCenter, klgCustom),
                  ImagesToBitmap(images, index, true));
}
TteTreeItemInfo TreeItemInfo(const TRect& r, TteTreeItemDrawState drawState) { return {r, drawState}; }
TteGridItemInfo GridItemInfo(const TRect& r, TteGridItemDrawState drawState, TteGridItemClass itemClass) {
    return {r, drawState, itemClass};
}

TteWindowHitTest WindowButtonToHitTest(TteWindowButtonClass button) {
    static constexpr TteWindowHitTest kMap[] = {
        kwhtSysMenu,      // kwbSysMenu
        kwhtCloseButton,  // kwbClose
        kwhtHelpButton,   // kwbHelp
        kwhtMinButton,    // kwbMin
        kwhtMinButton,    // kwbMinRestore
        kwhtMaxButton,    // kwbMax
        kwhtMaxButton,    // kwbMaxRestore
        kwhtRollButton,   // kwbRoll
        kwhtRollButton,   // kwbRollRestore
        kwhtTrayButton,   // kwbTray
        kwhtClient,       // kwbTopmost
        kwhtClient,       // kwbTopmostRestore
        kwhtClient,       // kwbCustom
    };
    return button < std::size(kMap) ? kMap[button] : kwhtClient;
}

}  // namespace tarvel
