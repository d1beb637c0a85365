#pragma once
// Skin objects: the rectangles of a skin file with a kind, colour, font,
// text, margins and a tree of children laid out by their alignment. Each
// class stores its published properties in the binary component stream; the
// children go into the binary property "Objects". The skin source and the
// file formats that hold these trees are in theme_se3source.h.

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/classlib/Components.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Graphics.h"
#include "skin/core/te_bitmap_links.h"
#include "skin/core/te_theme_types.h"

namespace tarvel {

enum TSeKind : uint8_t {
    skNone,
    skForm,
    skCaption,
    skTitle,
    skTop,
    skLeft,
    skRight,
    skBottom,
    skTopLeft,
    skTopRight,
    skBottomLeft,
    skBottomRight,
    skSysButton,
    skClient,
    skMenuBar,
    skMenuBarItem,
    skMenuBarItemText,
    skPopupMenu,
    skPopupMenuItem,
    skPopupMenuItemText,
    skItemText,
    skTranparentOnly,
    skTranparent,
    skRoundMask,
    skNoMask,
    skMaskOnly
};
enum TSeAlign : uint8_t {
    saNone,
    saLeft,
    saMostLeft,
    saTop,
    saMostTop,
    saRight,
    saMostRight,
    saBottom,
    saMostBottom,
    saClient,
    saTopLeft,
    saTopRight,
    saBottomLeft,
    saBottomRight,
    saCenter,
    saText,
    saTopRightAngle,
    saAll
};
enum TSeState : uint8_t {
    ssNormal,
    ssDesign,
    ssMaximized,
    ssMinimized,
    ssRollup,
    ssHot,
    ssPressed,
    ssFocused,
    ssDisabled
};
enum TSeTextAlign : uint8_t {
    staTopLeft,
    staTopCenter,
    staTopRight,
    staLeft,
    staCenter,
    staRight,
    staBottomLeft,
    staBottomCenter,
    staBottomRight
};
// Scoped: the colour constants already use teNone.
enum class TSeTextEffect : uint8_t { teNone, teShadow };
enum TscTileStyle : uint8_t {
    tsTile,
    tsStretch,
    tsCenter,
    tsVertCenterStretch,
    tsVertCenterTile,
    tsHorzCenterStretch,
    tsHorzCenterTile
};
enum TSeAction : uint8_t {
    sbaNone,
    sbaClose,
    sbaHelp,
    sbaMinimize,
    sbaMaximize,
    sbaRestore,
    sbaRollUp,
    sbaRollDown,
    sbaTray,
    sbaSysMenu,
    sbaRollPanel,
    sbaCustom
};
enum TSeButtonState : uint8_t { sbsNormal, sbsHover, sbsDown };
enum TSeRollKind : uint8_t { rkLeft, rkTop, rkRight, rkBottom };
// Our controls carry no reading order of their own, so objects start left to right.
enum TSeBiDiMode : uint8_t {
    sbdLeftToRight,
    sbdRightToLeft,
    sbdRightToLeftNoAlign,
    sbdRightToLeftReadingOnly
};

// The stored spellings, in the order of the values.
std::span<const char* const> SeKindIdents();
std::span<const char* const> SeAlignIdents();
std::span<const char* const> SeTextAlignIdents();
std::span<const char* const> SeTextEffectIdents();
std::span<const char* const> TileStyleIdents();
std::span<const char* const> SeActionIdents();
std::span<const char* const> SeRollKindIdents();

// Runs `undo` when the scope ends, also when drawing raises: every
// temporary change of a skin object is put back this way.
class Restore {
public:
    explicit Restore(std::function<void()> undo) : undo_(std::move(undo)) {}
    ~Restore() { undo_(); }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    std::function<void()> undo_;
};

class TteBitmapList;

class TSeSkinObject : public TComponent {
    TARVEL_CLASS(TSeSkinObject, TComponent)

public:
    // A skin object given as owner takes the new object as its last child;
    // the children stay out of the owner's components, so names may repeat.
    explicit TSeSkinObject(TComponent* owner);
    ~TSeSkinObject() override;

    void Assign(TPersistent* source) override;
    // A new object of the same registered class, assigned from this one;
    // null for a class that is not registered.
    TSeSkinObject* CreateCopy(TComponent* owner) const;

    // ---- the tree ----
    int GetCount() const { return static_cast<int>(children_.size()); }
    TSeSkinObject* GetObject(int index) const;
    TSeSkinObject* Parent() const { return parent_; }
    void Add(TSeSkinObject* object);
    void Remove(TSeSkinObject* object);  // not freed

    TSeSkinObject* FindObjectByKind(TSeKind kind);
    TSeSkinObject* FindObjectByAction(TSeAction action);
    // Case ignored; "head\tail" searches the children for head.
    TSeSkinObject* FindObjectByName(std::string_view name);
    TSeSkinObject* FindObjectByPoint(TPoint p);
    TSeSkinObject* FindObjectByPointAll(TPoint p);

    // ---- virtual operations ----
    virtual TFont* GetFont();
    virtual void SetSysButtons(TteWindowButtons buttons);
    virtual void SetState(TSeState state);
    virtual void AfterLoad();
    // clip may be empty: then everything is drawn.
    virtual void Draw(TCanvas& canvas, const TRect& clip);
    virtual HRGN CreateRegion();
    virtual void ChangeHue(int amount);
    virtual void ChangeBrightness(int amount);
    virtual void SetCharset(TFontCharset charset);

    void DrawChild(TCanvas& canvas, const TRect& clip);
    void DrawObjectText(TCanvas& canvas);
    // The tree's region; the caller owns it. Null when there is none.
    HRGN GetRegion();

    // ---- layout ----
    TRect GetBoundsRect() const { return TRect{left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const TRect& r);
    void Aligning();
    void AligningAll();

    // ---- state, not stored ----
    bool Visible = true;
    bool GetActive() const { return active_; }
    void SetActive(bool active);
    TSeState GetState() const { return state_; }
    TteWindowButtons GetSysButtons() const { return sysButtons_; }
    WideString Text;
    TWinControl* GetParentControl() const { return parentControl_; }
    void SetParentControl(TWinControl* control);
    TSeBiDiMode GetBiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TSeBiDiMode mode);
    TteBitmapList* GetBitmaps() const { return bitmaps_; }
    void SetBitmaps(TteBitmapList* bitmaps);
    unsigned DrawTextBiDiModeFlags(unsigned flags) const;
    unsigned DrawTextBiDiModeFlagsReadingOnly() const;
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;
    void Invalidate();

    // ---- published ----
    TSeAlign GetAlign() const { return align_; }
    void SetAlign(TSeAlign v) { align_ = v; }
    TColor GetColor() const { return color_; }
    void SetColor(TColor v) { color_ = v; }
    bool GetDrawIfOwner() const { return drawIfOwner_; }
    void SetDrawIfOwner(bool v) { drawIfOwner_ = v; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    TSeKind GetKind() const { return kind_; }
    void SetKind(TSeKind v) { kind_ = v; }
    bool GetMasked() const { return masked_; }
    void SetMasked(bool v) { masked_ = v; }
    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);
    int GetMarginLeft() const { return marginLeft_; }
    int GetMarginRight() const { return marginRight_; }
    int GetMarginTop() const { return marginTop_; }
    int GetMarginBottom() const { return marginBottom_; }
    void SetMarginLeft(int v) { marginLeft_ = v; }
    void SetMarginRight(int v) { marginRight_ = v; }
    void SetMarginTop(int v) { marginTop_ = v; }
    void SetMarginBottom(int v) { marginBottom_ = v; }
    TSeTextAlign GetTextAlign() const { return textAlign_; }
    void SetTextAlign(TSeTextAlign v) { textAlign_ = v; }
    TSeTextEffect GetTextEffect() const { return textEffect_; }
    void SetTextEffect(TSeTextEffect v) { textEffect_ = v; }
    int GetTextMarginLeft() const { return textMarginLeft_; }
    void SetTextMarginLeft(int v) { textMarginLeft_ = v; }
    int GetTextMarginRight() const { return textMarginRight_; }
    void SetTextMarginRight(int v) { textMarginRight_ = v; }
    int GetTextMarginTop() const { return textMarginTop_; }
    void SetTextMarginTop(int v) { textMarginTop_ = v; }
    bool GetTextShiftSysIton() const { return textShiftSysIton_; }
    void SetTextShiftSysIton(bool v) { textShiftSysIton_ = v; }
    bool GetTextMarginRightStretch() const { return textMarginRightStretch_; }
    void SetTextMarginRightStretch(bool v) { textMarginRightStretch_ = v; }

protected:
    void DefineProperties(TFiler& filer) override;
    // Draw of the plain skin object, for subclasses that swap a value first.
    void DrawPlain(TCanvas& canvas, const TRect& clip) { TSeSkinObject::Draw(canvas, clip); }

    TSeState state_ = ssNormal;
    bool active_ = false;

private:
    void ReadData(TStream& data);
    void WriteData(TStream& data);

    TSeSkinObject* parent_ = nullptr;
    std::vector<TSeSkinObject*> children_;
    std::unique_ptr<TFont> font_;
    TSeAlign align_ = saNone;
    TColor color_ = clWhite;
    bool drawIfOwner_ = false;
    TSeKind kind_ = skNone;
    bool masked_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int prevLeft_ = 0, prevTop_ = 0, prevWidth_ = 0, prevHeight_ = 0;
    int marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
    TSeTextAlign textAlign_ = staLeft;
    TSeTextEffect textEffect_ = TSeTextEffect::teNone;
    int textMarginLeft_ = 0, textMarginRight_ = 0, textMarginTop_ = 0;
    bool textShiftSysIton_ = false;
    bool textMarginRightStretch_ = false;
    TteWindowButtons sysButtons_;
    TWinControl* parentControl_ = nullptr;
    TSeBiDiMode biDiMode_ = sbdLeftToRight;
    TteBitmapList* bitmaps_ = nullptr;
};

// A font as new skin objects have it: "Tahoma", 8 points, black.
std::unique_ptr<TFont> NewSkinFont();

// ---- bitmap, button and state objects --------------------------------------

class TSeBitmapObject : public TSeSkinObject {
    TARVEL_CLASS(TSeBitmapObject, TSeSkinObject)

public:
    explicit TSeBitmapObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    HRGN CreateRegion() override;

    TteBitmapLink* GetBitmap() const { return bitmap_.get(); }
    TscTileStyle GetTileStyle() const { return tileStyle_; }
    void SetTileStyle(TscTileStyle v) { tileStyle_ = v; }
    TscTileStyle GetBorderTileStyle() const { return borderTileStyle_; }
    void SetBorderTileStyle(TscTileStyle v) { borderTileStyle_ = v; }
    bool GetMaskedBorder() const { return maskedBorder_; }
    void SetMaskedBorder(bool v) { maskedBorder_ = v; }
    bool GetMaskedAngles() const { return maskedAngles_; }
    void SetMaskedAngles(bool v) { maskedAngles_ = v; }

protected:
    // Binds a link to the image list; the flags are checked with margins.
    void BindLink(std::unique_ptr<TteBitmapLink>& link, bool withMargins);
    // Runs draw with `link` (when assigned) in Bitmap's place.
    void DrawWith(TteBitmapLink* link, const std::function<void()>& draw);
    std::unique_ptr<TteBitmapLink> bitmap_;

private:
    void DrawBitmap(TCanvas& canvas, const TRect& clip);
    TscTileStyle tileStyle_ = tsTile;
    TscTileStyle borderTileStyle_ = tsTile;
    bool maskedBorder_ = true;
    bool maskedAngles_ = true;
};

class TSeActiveBitmap : public TSeBitmapObject {
    TARVEL_CLASS(TSeActiveBitmap, TSeBitmapObject)

public:
    explicit TSeActiveBitmap(TComponent* owner);
    void Assign(TPersistent* source) override;
    TFont* GetFont() override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    void SetCharset(TFontCharset charset) override;

    TteBitmapLink* GetActiveBitmap() const { return activeBitmap_.get(); }
    TFont* ActiveFont() const { return activeFont_.get(); }

protected:
    std::unique_ptr<TteBitmapLink> activeBitmap_;
    std::unique_ptr<TFont> activeFont_;
};

class TSeSystemButton : public TSeActiveBitmap {
    TARVEL_CLASS(TSeSystemButton, TSeActiveBitmap)

public:
    explicit TSeSystemButton(TComponent* owner);
    void Assign(TPersistent* source) override;
    void SetSysButtons(TteWindowButtons buttons) override;
    void SetState(TSeState state) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    void SetChildState(TSeState state);

    TSeAction GetAction() const { return action_; }
    void SetAction(TSeAction v) { action_ = v; }
    TteBitmapLink* GetBitmapHot() const { return bitmapHot_.get(); }
    TteBitmapLink* GetBitmapPressed() const { return bitmapPressed_.get(); }
    TSeButtonState ButtonState = sbsNormal;

private:
    TSeAction action_ = sbaNone;
    std::unique_ptr<TteBitmapLink> bitmapHot_;
    std::unique_ptr<TteBitmapLink> bitmapPressed_;
};

class TSeButtonObject : public TSeBitmapObject {
    TARVEL_CLASS(TSeButtonObject, TSeBitmapObject)

public:
    explicit TSeButtonObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;

    TteBitmapLink* GetBitmapHot() const { return links_[0].get(); }
    TteBitmapLink* GetBitmapFocused() const { return links_[1].get(); }
    TteBitmapLink* GetBitmapPressed() const { return links_[2].get(); }
    TteBitmapLink* GetBitmapDisabled() const { return links_[3].get(); }

private:
    std::array<std::unique_ptr<TteBitmapLink>, 4> links_;
};

class TSeActiveObject : public TSeSkinObject {
    TARVEL_CLASS(TSeActiveObject, TSeSkinObject)

public:
    explicit TSeActiveObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    TFont* GetFont() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    void ChangeHue(int amount) override;
    void ChangeBrightness(int amount) override;
    void SetCharset(TFontCharset charset) override;

    TColor GetActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor v) { activeColor_ = v; }
    TFont* ActiveFont() const { return activeFont_.get(); }
    TFont* DisabledFont() const { return disabledFont_.get(); }

private:
    TColor activeColor_ = clBlack;
    std::unique_ptr<TFont> activeFont_;
    std::unique_ptr<TFont> disabledFont_;
};

class TSeTextObject : public TSeSkinObject {
    TARVEL_CLASS(TSeTextObject, TSeSkinObject)

public:
    explicit TSeTextObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    TFont* GetFont() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    void ChangeHue(int amount) override;
    void ChangeBrightness(int amount) override;
    void SetCharset(TFontCharset charset) override;

    TFont* FontHot() const { return fonts_[0].get(); }
    TFont* FontFocused() const { return fonts_[1].get(); }
    TFont* FontPressed() const { return fonts_[2].get(); }
    TFont* FontDisabled() const { return fonts_[3].get(); }

private:
    TFont* StateFont();
    std::array<std::unique_ptr<TFont>, 4> fonts_;
};

class TSeLinkSkinObject : public TSeSkinObject {
    TARVEL_CLASS(TSeLinkSkinObject, TSeSkinObject)

public:
    explicit TSeLinkSkinObject(TComponent* owner) : TSeSkinObject(owner) {}
    void Assign(TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& clip) override;

    const String& GetLinkControl() const { return linkControl_; }
    void SetLinkControl(const String& v) { linkControl_ = v; }

private:
    String linkControl_;
};

// ---- bitmap-skin, box, colour-button and roll-panel objects ---------------

class TSeBitmapSkinObject : public TSeSkinObject {
    TARVEL_CLASS(TSeBitmapSkinObject, TSeSkinObject)

public:
    explicit TSeBitmapSkinObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    HRGN CreateRegion() override;

    TteBitmapLink* GetBitmap() const { return bitmap_.get(); }
    TscTileStyle GetTileStyle() const { return tileStyle_; }
    void SetTileStyle(TscTileStyle v) { tileStyle_ = v; }

protected:
    void BindLink(std::unique_ptr<TteBitmapLink>& link);
    void DrawWith(TteBitmapLink* link, const std::function<void()>& draw);
    std::unique_ptr<TteBitmapLink> bitmap_;

private:
    TscTileStyle tileStyle_ = tsTile;
};

class TSeFormBitmapSkinObject : public TSeBitmapSkinObject {
    TARVEL_CLASS(TSeFormBitmapSkinObject, TSeBitmapSkinObject)

public:
    explicit TSeFormBitmapSkinObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    TteBitmapLink* GetInactiveBitmap() const { return inactiveBitmap_.get(); }

private:
    std::unique_ptr<TteBitmapLink> inactiveBitmap_;
};

class TSeSysButtonSkinObject : public TSeBitmapSkinObject {
    TARVEL_CLASS(TSeSysButtonSkinObject, TSeBitmapSkinObject)

public:
    explicit TSeSysButtonSkinObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void SetSysButtons(TteWindowButtons buttons) override;
    void SetState(TSeState state) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;

    TSeAction GetAction() const { return action_; }
    void SetAction(TSeAction v) { action_ = v; }
    const String& GetRollPanel() const { return rollPanel_; }
    void SetRollPanel(const String& v) { rollPanel_ = v; }
    TteBitmapLink* GetBitmapHover() const { return bitmapHover_.get(); }
    TteBitmapLink* GetBitmapDown() const { return bitmapDown_.get(); }
    TSeButtonState ButtonState = sbsNormal;

private:
    TSeAction action_ = sbaNone;
    std::unique_ptr<TteBitmapLink> bitmapHover_;
    std::unique_ptr<TteBitmapLink> bitmapDown_;
    String rollPanel_;
};

class TSeActiveSkinObject : public TSeSkinObject {
    TARVEL_CLASS(TSeActiveSkinObject, TSeSkinObject)

public:
    explicit TSeActiveSkinObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    void ChangeHue(int amount) override;
    void ChangeBrightness(int amount) override;

    TColor GetActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor v) { activeColor_ = v; }
    TFont* ActiveFont() const { return activeFont_.get(); }

private:
    TColor activeColor_ = clBlack;
    std::unique_ptr<TFont> activeFont_;
};

class TSeColorButtonObject : public TSeSkinObject {
    TARVEL_CLASS(TSeColorButtonObject, TSeSkinObject)

public:
    explicit TSeColorButtonObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& clip) override;

    // In the order hot, pressed, focused, disabled.
    TColor GetStateColor(int i) const { return colors_[static_cast<size_t>(i)]; }
    void SetStateColor(int i, TColor v) { colors_[static_cast<size_t>(i)] = v; }
    TFont* StateFont(int i) const { return fonts_[static_cast<size_t>(i)].get(); }

private:
    std::array<TColor, 4> colors_{};
    std::array<std::unique_ptr<TFont>, 4> fonts_;
};

class TSeBitmapBoxObject : public TSeBitmapSkinObject {
    TARVEL_CLASS(TSeBitmapBoxObject, TSeBitmapSkinObject)

public:
    explicit TSeBitmapBoxObject(TComponent* owner) : TSeBitmapSkinObject(owner) {}
    void Assign(TPersistent* source) override;
    void Draw(TCanvas& canvas, const TRect& clip) override;

    TscTileStyle GetBorderTileStyle() const { return borderTileStyle_; }
    void SetBorderTileStyle(TscTileStyle v) { borderTileStyle_ = v; }

protected:
    void DrawBox(TCanvas& canvas, const TRect& clip);

private:
    TscTileStyle borderTileStyle_ = tsTile;
};

class TSeActiveBitmapBoxObject : public TSeBitmapBoxObject {
    TARVEL_CLASS(TSeActiveBitmapBoxObject, TSeBitmapBoxObject)

public:
    explicit TSeActiveBitmapBoxObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;
    TteBitmapLink* GetFocusedBitmap() const { return focusedBitmap_.get(); }

private:
    std::unique_ptr<TteBitmapLink> focusedBitmap_;
};

class TSeButtonBitmapBoxObject : public TSeBitmapBoxObject {
    TARVEL_CLASS(TSeButtonBitmapBoxObject, TSeBitmapBoxObject)

public:
    explicit TSeButtonBitmapBoxObject(TComponent* owner);
    void Assign(TPersistent* source) override;
    void AfterLoad() override;
    void Draw(TCanvas& canvas, const TRect& clip) override;

    TteBitmapLink* GetHotBitmap() const { return links_[0].get(); }
    TteBitmapLink* GetFocusedBitmap() const { return links_[1].get(); }
    TteBitmapLink* GetPressedBitmap() const { return links_[2].get(); }
    TteBitmapLink* GetDisabledBitmap() const { return links_[3].get(); }

private:
    std::array<std::unique_ptr<TteBitmapLink>, 4> links_;
};

class TSeRollPanelObject : public TSeSkinObject {
    TARVEL_CLASS(TSeRollPanelObject, TSeSkinObject)

public:
    explicit TSeRollPanelObject(TComponent* owner) : TSeSkinObject(owner) {}
    void Assign(TPersistent* source) override;
    void Roll();
    void OwnerUpdate();

    TSeRollKind GetRollKind() const { return rollKind_; }
    void SetRollKind(TSeRollKind v) { rollKind_ = v; }
    int GetRollValue() const { return rollValue_; }
    void SetRollValue(int v) { rollValue_ = v; }

private:
    TSeRollKind rollKind_ = rkLeft;
    int rollValue_ = 0;
    int savedExtent_ = 0;
};

// ---- the class registry and object records ---------------------------------

void RegisterSkinObject(TClass cls);
// The registered class of exactly that name, else null.
TClass GetSkinObjectClass(std::string_view name);
// Also tries the name with its 2nd and 3rd characters made "Se", then "Tw".
TClass FindSkinObjectClass(String name);
// The registered classes, in order.
const std::vector<TClass>& SkinObjectClasses();

// Records: the class name, then the component stream as text (SaveSkinObject)
// or as its byte count and bytes (SaveSkinObjectBinary). Loading answers null
// for a class that is not registered, after skipping its record; damaged
// data raise EReadError and free what was made.
void SaveSkinObject(TStream& stream, TSeSkinObject* object);
TSeSkinObject* LoadSkinObject(TStream& stream, TComponent* owner);
void SaveSkinObjectBinary(TStream& stream, TSeSkinObject* object);
TSeSkinObject* LoadSkinObjectBinary(TStream& stream, TComponent* owner);

// Limits of what a record may hold.
constexpr uint32_t kMaxSkinObjectCount = 65535;
constexpr int64_t kMaxSkinRecordBytes = int64_t{64} << 20;

}  // namespace tarvel
