// The bitmap-drawn and state skin objects: nine-part bitmaps, buttons,
// caption buttons, state fonts and colours, the roll panel.
#include <functional>

#include "platform/classlib/Application.h"
#include "platform/classlib/PropertyTable.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_se3objects.h"

namespace tarvel {

namespace {

std::unique_ptr<TteBitmapLink> NewLink() { return std::make_unique<TteBitmapLink>(); }

void CopyLink(std::unique_ptr<TteBitmapLink>& to, const std::unique_ptr<TteBitmapLink>& from) {
    to = NewLink();
    to->Assign(from.get());
}

void CopyFont(TFont* to, TFont* from) { to->Assign(from); }

TRect Centred(int width, int height, const TRect& outer) {
    const int l = outer.left + (outer.Width() - width) / 2;
    const int t = outer.top + (outer.Height() - height) / 2;
    return TRect{l, t, l + width, t + height};
}

TRect Moved(TRect r, int dx, int dy) {
    r.Offset(dx, dy);
    return r;
}

bool IsTiled(TscTileStyle s) { return s == tsTile || s == tsVertCenterTile || s == tsHorzCenterTile; }
bool IsStretched(TscTileStyle s) {
    return s == tsStretch || s == tsVertCenterStretch || s == tsHorzCenterStretch;
}

// One piece of a nine-part drawing. A centred piece goes unscaled to
// `origin`, the object's top-left corner; `centredDraws` says whether the
// family draws centred pieces at all.
void DrawPiece(const TteBitmap& image, HDC dc, const TRect& dst, const TRect& src, TscTileStyle style,
               TPoint origin, bool centredDraws) {
    if (src.IsEmpty() || dst.IsEmpty()) return;
    if (IsTiled(style)) {
        image.Tile(dc, dst, src);
    } else if (IsStretched(style)) {
        image.Draw(dc, dst, src);
    } else if (style == tsCenter && centredDraws) {
        image.Draw(dc, origin.x, origin.y, src);
    }
}

bool AnyOf(TSeState s, std::initializer_list<TSeState> states) {
    for (TSeState x : states) {
        if (s == x) return true;
    }
    return false;
}

bool Assigned(const TteBitmapLink* link) { return link && link->GetAssigned(); }

// Replaces link by the list's link to its image and rectangle, its masked
// flags checked with margins; a missing image leaves the link unassigned.
void BindToList(TteBitmapList* list, std::unique_ptr<TteBitmapLink>& link, const TRect& margins) {
    if (!list) return;
    std::unique_ptr<TteBitmapLink> bound(list->GetBitmapLink(link->Name, link->Rect()));
    if (!bound) {
        link->Bitmap = nullptr;
        return;
    }
    bound->Name = link->Name;
    bound->CheckingMasked(margins);
    link = std::move(bound);
}

// Visibility of a caption button by the window's state.
void FollowState(bool& visible, TSeAction action, TSeState state) {
    switch (state) {
        case ssNormal: visible = action != sbaRestore && action != sbaRollDown; break;
        case ssMaximized: visible = action != sbaMaximize && action != sbaRollDown; break;
        case ssMinimized:
            visible = action != sbaMinimize && action != sbaMaximize && action != sbaRollUp &&
                      action != sbaRollDown;
            break;
        case ssRollup: visible = action != sbaRestore && action != sbaRollUp; break;
        default: break;
    }
}

// Visibility of a caption button by the window's buttons.
void FollowButtons(bool& visible, TSeAction action, TSeState state, TteWindowButtons buttons) {
    TteWindowButtonClass button;
    switch (action) {
        case sbaClose: button = kwbClose; break;
        case sbaHelp: button = kwbHelp; break;
        case sbaMinimize: button = kwbMin; break;
        case sbaMaximize: button = kwbMax; break;
        case sbaRestore: button = state == ssMaximized ? kwbMaxRestore : kwbMinRestore; break;
        case sbaRollUp: button = kwbRoll; break;
        case sbaRollDown: button = kwbRollRestore; break;
        case sbaTray: button = kwbTray; break;
        case sbaSysMenu: button = kwbSysMenu; break;
        default: return;
    }
    visible = buttons.Contains(button);
}

// Our forms carry no icon of their own, so the system menu button shows the
// platform's standard application icon.
// It is drawn at the small-icon size from the button's top-left corner: at
// its own size the standard icon spills over the caption beside the button.
void DrawSysMenuIcon(TCanvas& canvas, const TRect& bounds) {
    HICON icon = LoadIcon(IDI_APPLICATION);
    if (!icon) return;
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    DrawIconEx(canvas.Handle(), bounds.left, bounds.top, icon, cx ? cx : GetSystemMetrics(SM_CXSIZE),
               cy ? cy : GetSystemMetrics(SM_CYSIZE), 0, HBRUSH{}, DI_NORMAL);
}

void DeclareBitmapObject(TPropertyTable& t) {
    using O = TSeBitmapObject;
    t.Object<&O::GetBitmap>("Bitmap")
        .Enumeration<&O::GetBorderTileStyle, &O::SetBorderTileStyle>("BorderTileStyle", TileStyleIdents())
        .Boolean<&O::GetMaskedBorder, &O::SetMaskedBorder>("MaskedBorder")
        .Boolean<&O::GetMaskedAngles, &O::SetMaskedAngles>("MaskedAngles")
        .Enumeration<&O::GetTileStyle, &O::SetTileStyle>("TileStyle", TileStyleIdents());
}
void DeclareActiveBitmap(TPropertyTable& t) {
    t.Object<&TSeActiveBitmap::GetActiveBitmap>("ActiveBitmap")
        .Object<&TSeActiveBitmap::ActiveFont>("ActiveFont");
}
void DeclareSystemButton(TPropertyTable& t) {
    using O = TSeSystemButton;
    t.Enumeration<&O::GetAction, &O::SetAction>("Action", SeActionIdents())
        .Object<&O::GetBitmapHot>("BitmapHot")
        .Object<&O::GetBitmapPressed>("BitmapPressed");
}
void DeclareButtonObject(TPropertyTable& t) {
    using O = TSeButtonObject;
    t.Object<&O::GetBitmapHot>("BitmapHot")
        .Object<&O::GetBitmapFocused>("BitmapFocused")
        .Object<&O::GetBitmapPressed>("BitmapPressed")
        .Object<&O::GetBitmapDisabled>("BitmapDisabled");
}
void DeclareActiveObject(TPropertyTable& t) {
    using O = TSeActiveObject;
    t.Color<&O::GetActiveColor, &O::SetActiveColor>("ActiveColor")
        .Object<&O::ActiveFont>("ActiveFont")
        .Object<&O::DisabledFont>("DisabledFont");
}
void DeclareTextObject(TPropertyTable& t) {
    using O = TSeTextObject;
    t.Object<&O::FontHot>("FontHot")
        .Object<&O::FontFocused>("FontFocused")
        .Object<&O::FontPressed>("FontPressed")
        .Object<&O::FontDisabled>("FontDisabled");
}
void DeclareLinkObject(TPropertyTable& t) {
    using O = TSeLinkSkinObject;
    t.Text<&O::GetLinkControl, &O::SetLinkControl>("LinkControl");
}
void DeclareBitmapSkinObject(TPropertyTable& t) {
    using O = TSeBitmapSkinObject;
    t.Object<&O::GetBitmap>("Bitmap").Enumeration<&O::GetTileStyle, &O::SetTileStyle>("TileStyle",
                                                                                      TileStyleIdents());
}
void DeclareFormBitmapSkinObject(TPropertyTable& t) {
    t.Object<&TSeFormBitmapSkinObject::GetInactiveBitmap>("InactiveBitmap");
}
void DeclareSysButtonSkinObject(TPropertyTable& t) {
    using O = TSeSysButtonSkinObject;
    t.Enumeration<&O::GetAction, &O::SetAction>("Action", SeActionIdents())
        .Object<&O::GetBitmapHover>("BitmapHover")
        .Object<&O::GetBitmapDown>("BitmapDown")
        .Text<&O::GetRollPanel, &O::SetRollPanel>("RollPanel");
}
void DeclareActiveSkinObject(TPropertyTable& t) {
    using O = TSeActiveSkinObject;
    t.Color<&O::GetActiveColor, &O::SetActiveColor>("ActiveColor").Object<&O::ActiveFont>("ActiveFont");
}
void DeclareColorButtonObject(TPropertyTable& t) {
    static const char* const kNames[] = {"Hot", "Pressed", "Focused", "Disabled"};
    for (int i = 0; i < 4; ++i) {
        TPropInfo color(String(kNames[i]) + "Color", TPropKind::Color);
        color.GetOrd = [i](TPersistent& o) {
            return static_cast<int64_t>(static_cast<TSeColorButtonObject&>(o).GetStateColor(i));
        };
        color.SetOrd = [i](TPersistent& o, int64_t v) {
            static_cast<TSeColorButtonObject&>(o).SetStateColor(i, static_cast<TColor>(v));
        };
        t.Add(std::move(color));
        TPropInfo font(String(kNames[i]) + "Font", TPropKind::Class);
        font.GetObject = [i](TPersistent& o) -> TPersistent* {
            return static_cast<TSeColorButtonObject&>(o).StateFont(i);
        };
        t.Add(std::move(font));
    }
}
void DeclareBitmapBoxObject(TPropertyTable& t) {
    using O = TSeBitmapBoxObject;
    t.Enumeration<&O::GetBorderTileStyle, &O::SetBorderTileStyle>("BorderTileStyle", TileStyleIdents());
}
void DeclareActiveBitmapBoxObject(TPropertyTable& t) {
    t.Object<&TSeActiveBitmapBoxObject::GetFocusedBitmap>("FocusedBitmap");
}
void DeclareButtonBitmapBoxObject(TPropertyTable& t) {
    using O = TSeButtonBitmapBoxObject;
    t.Object<&O::GetHotBitmap>("HotBitmap")
        .Object<&O::GetFocusedBitmap>("FocusedBitmap")
        .Object<&O::GetPressedBitmap>("PressedBitmap")
        .Object<&O::GetDisabledBitmap>("DisabledBitmap");
}
void DeclareRollPanelObject(TPropertyTable& t) {
    using O = TSeRollPanelObject;
    t.Enumeration<&O::GetRollKind, &O::SetRollKind>("RollKind", SeRollKindIdents())
        .Integer<&O::GetRollValue, &O::SetRollValue>("RollValue");
}

}  // namespace

void DeclareSkinObjectSubclasses() {
    RegisterPropertyTable(TSeBitmapObject::StaticClass(), DeclareBitmapObject);
    RegisterPropertyTable(TSeActiveBitmap::StaticClass(), DeclareActiveBitmap);
    RegisterPropertyTable(TSeSystemButton::StaticClass(), DeclareSystemButton);
    RegisterPropertyTable(TSeButtonObject::StaticClass(), DeclareButtonObject);
    RegisterPropertyTable(TSeActiveObject::StaticClass(), DeclareActiveObject);
    RegisterPropertyTable(TSeTextObject::StaticClass(), DeclareTextObject);
    RegisterPropertyTable(TSeLinkSkinObject::StaticClass(), DeclareLinkObject);
    RegisterPropertyTable(TSeBitmapSkinObject::StaticClass(), DeclareBitmapSkinObject);
    RegisterPropertyTable(TSeFormBitmapSkinObject::StaticClass(), DeclareFormBitmapSkinObject);
    RegisterPropertyTable(TSeSysButtonSkinObject::StaticClass(), DeclareSysButtonSkinObject);
    RegisterPropertyTable(TSeActiveSkinObject::StaticClass(), DeclareActiveSkinObject);
    RegisterPropertyTable(TSeColorButtonObject::StaticClass(), DeclareColorButtonObject);
    RegisterPropertyTable(TSeBitmapBoxObject::StaticClass(), DeclareBitmapBoxObject);
    RegisterPropertyTable(TSeActiveBitmapBoxObject::StaticClass(), DeclareActiveBitmapBoxObject);
    RegisterPropertyTable(TSeButtonBitmapBoxObject::StaticClass(), DeclareButtonBitmapBoxObject);
    RegisterPropertyTable(TSeRollPanelObject::StaticClass(), DeclareRollPanelObject);
}

// ---- TSeBitmapObject -----------------------------------------------------------

TSeBitmapObject::TSeBitmapObject(TComponent* owner) : TSeSkinObject(owner), bitmap_(NewLink()) {}

void TSeBitmapObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeBitmapObject*>(source); src && src != this) {
        CopyLink(bitmap_, src->bitmap_);
        tileStyle_ = src->tileStyle_;
        borderTileStyle_ = src->borderTileStyle_;
        maskedBorder_ = src->maskedBorder_;
        maskedAngles_ = src->maskedAngles_;
    }
}

void TSeBitmapObject::BindLink(std::unique_ptr<TteBitmapLink>& link, bool withMargins) {
    BindToList(
        GetBitmaps(), link,
        withMargins ? TRect{GetMarginLeft(), GetMarginTop(), GetMarginRight(), GetMarginBottom()} : TRect{});
}

void TSeBitmapObject::AfterLoad() {
    TSeSkinObject::AfterLoad();
    BindLink(bitmap_, true);
}

// Puts `link` in `slot` for the call of draw, and the slot's own link back after.
void SwapLink(std::unique_ptr<TteBitmapLink>& slot, TteBitmapLink* link, const std::function<void()>& draw) {
    if (!Assigned(link) || link == slot.get()) {
        draw();
        return;
    }
    std::unique_ptr<TteBitmapLink> own = std::move(slot);
    slot.reset(link);
    Restore undo([&] {
        (void)slot.release();
        slot = std::move(own);
    });
    draw();
}

void TSeBitmapObject::DrawWith(TteBitmapLink* link, const std::function<void()>& draw) {
    SwapLink(bitmap_, link, draw);
}

void TSeBitmapObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0 || GetKind() == skMaskOnly) return;
    DrawBitmap(canvas, clip);
}

void TSeBitmapObject::DrawBitmap(TCanvas& canvas, const TRect& clip) {
    TteBitmapLink& link = *bitmap_;
    TteBitmap& image = *link.Bitmap;
    const bool wasTransparent = image.Transparent;
    Restore undo([&] { image.Transparent = wasTransparent; });
    const TRect b = GetBoundsRect();
    const TRect s = link.Rect();
    HDC dc = canvas.Handle();
    const int ml = GetMarginLeft(), mt = GetMarginTop(), mr = GetMarginRight(), mb = GetMarginBottom();
    if (ml == 0 && mt == 0 && mr == 0 && mb == 0) {
        if (GetColor() == clNone) {
            DrawPlain(canvas, clip);
            DrawObjectText(canvas);
            Aligning();
            DrawChild(canvas, clip);
            return;
        }
        image.Transparent = link.Masked;
        switch (tileStyle_) {
            case tsTile:
                if (IsRectEmpty(clip)) {
                    image.Tile(dc, b, s);
                } else {
                    image.TileClip(dc, b, clip, s);
                }
                break;
            case tsStretch: image.Draw(dc, b, s); break;
            case tsCenter: {
                const TRect c = Centred(s.Width(), s.Height(), b);
                image.Draw(dc, c.left, c.top, s);
                break;
            }
            case tsVertCenterStretch: image.Draw(dc, Centred(s.Width(), GetHeight(), b), s); break;
            case tsVertCenterTile: image.Tile(dc, Centred(s.Width(), GetHeight(), b), s); break;
            case tsHorzCenterStretch: image.Draw(dc, Centred(GetWidth(), s.Height(), b), s); break;
            case tsHorzCenterTile: image.Tile(dc, Centred(GetWidth(), s.Height(), b), s); break;
        }
    } else {
        const TRect own{0, 0, GetWidth(), GetHeight()};
        TRect d = own;
        switch (tileStyle_) {
            case tsCenter: d = Centred(s.Width(), s.Height(), own); break;
            case tsVertCenterStretch:
            case tsVertCenterTile: d = Centred(s.Width(), GetHeight(), own); break;
            case tsHorzCenterStretch:
            case tsHorzCenterTile: d = Centred(GetWidth(), s.Height(), own); break;
            default: break;
        }
        const int x = GetLeft(), y = GetTop();
        const TPoint origin{x, y};
        const auto piece = [&](const TRect& dst, const TRect& src, TscTileStyle style) {
            DrawPiece(image, dc, Moved(dst, x, y), src, style, origin, true);
        };
        image.Transparent = link.Masked;
        piece(TRect{d.left + ml, d.top + mt, d.right - mr, d.bottom - mb},
              TRect{s.left + ml, s.top + mt, s.right - mr, s.bottom - mb}, tileStyle_);
        image.Transparent = link.MaskedBorder;
        piece(TRect{d.left + ml, d.top, d.right - mr, d.top + mt},
              TRect{s.left + ml, s.top, s.right - mr, s.top + mt}, borderTileStyle_);
        piece(TRect{d.left + ml, d.bottom - mb, d.right - mr, d.bottom},
              TRect{s.left + ml, s.bottom - mb, s.right - mr, s.bottom}, borderTileStyle_);
        piece(TRect{d.left, d.top + mt, d.left + ml, d.bottom - mb},
              TRect{s.left, s.top + mt, s.left + ml, s.bottom - mb}, borderTileStyle_);
        piece(TRect{d.right - mr, d.top + mt, d.right, d.bottom - mb},
              TRect{s.right - mr, s.top + mt, s.right, s.bottom - mb}, borderTileStyle_);
        d = Moved(d, x, y);
        image.Transparent = link.MaskedAngles;
        const auto corner = [&](int cx, int cy, const TRect& src) {
            if (!src.IsEmpty()) image.Draw(dc, cx, cy, src);
        };
        corner(d.left, d.top, TRect{s.left, s.top, s.left + ml, s.top + mt});
        corner(d.right - mr, d.top, TRect{s.right - mr, s.top, s.right, s.top + mt});
        corner(d.left, d.bottom - mb, TRect{s.left, s.bottom - mb, s.left + ml, s.bottom});
        corner(d.right - mr, d.bottom - mb, TRect{s.right - mr, s.bottom - mb, s.right, s.bottom});
    }
    DrawObjectText(canvas);
    Aligning();
    DrawChild(canvas, clip);
}

// Draws the object alone into a key-filled image and keeps what it painted.
template <class O>
HRGN RegionFromDrawing(O& object) {
    TteBitmap image;
    image.SetSize(object.GetWidth(), object.GetHeight());
    image.Clear(teColor(0x7F007F, 0));
    const TRect bounds = object.GetBoundsRect();
    const TSeKind kind = object.GetKind();
    {
        Restore undo([&] {
            object.SetKind(kind);
            object.SetBoundsRect(bounds);
        });
        if (kind == skMaskOnly) object.SetKind(skNone);
        object.SetBoundsRect(TRect{0, 0, bounds.Width(), bounds.Height()});
        object.Draw(*image.GetCanvas(), TRect{});
    }
    return CreateRegionFromBitmap(image, bounds.left, bounds.top);
}

HRGN TSeBitmapObject::CreateRegion() {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return nullptr;
    if (GetKind() == skClient || !GetMasked()) return CreateRectRgnIndirect(GetBoundsRect());
    return RegionFromDrawing(*this);
}

// ---- TSeActiveBitmap -----------------------------------------------------------

TSeActiveBitmap::TSeActiveBitmap(TComponent* owner)
    : TSeBitmapObject(owner), activeBitmap_(NewLink()), activeFont_(NewSkinFont()) {}

void TSeActiveBitmap::Assign(TPersistent* source) {
    TSeBitmapObject::Assign(source);
    if (auto* src = dynamic_cast<TSeActiveBitmap*>(source); src && src != this) {
        CopyLink(activeBitmap_, src->activeBitmap_);
        CopyFont(activeFont_.get(), src->activeFont_.get());
    }
}

TFont* TSeActiveBitmap::GetFont() {
    return AnyOf(state_, {ssHot, ssFocused}) ? activeFont_.get() : TSeBitmapObject::GetFont();
}

void TSeActiveBitmap::AfterLoad() {
    TSeBitmapObject::AfterLoad();
    BindLink(activeBitmap_, true);
}

void TSeActiveBitmap::Draw(TCanvas& canvas, const TRect& clip) {
    if ((active_ || AnyOf(state_, {ssHot, ssPressed, ssFocused})) && Assigned(activeBitmap_.get())) {
        DrawWith(activeBitmap_.get(), [&] { TSeBitmapObject::Draw(canvas, clip); });
    } else {
        TSeBitmapObject::Draw(canvas, clip);
    }
}

void TSeActiveBitmap::SetCharset(TFontCharset charset) {
    TSeBitmapObject::SetCharset(charset);
    activeFont_->SetCharset(charset);
}

// ---- TSeSystemButton ------------------------------------------------------------

TSeSystemButton::TSeSystemButton(TComponent* owner)
    : TSeActiveBitmap(owner), bitmapHot_(NewLink()), bitmapPressed_(NewLink()) {
    SetKind(skSysButton);
}

void TSeSystemButton::Assign(TPersistent* source) {
    TSeActiveBitmap::Assign(source);
    if (auto* src = dynamic_cast<TSeSystemButton*>(source); src && src != this) {
        action_ = src->action_;
        CopyLink(bitmapHot_, src->bitmapHot_);
        CopyLink(bitmapPressed_, src->bitmapPressed_);
    }
}

void TSeSystemButton::SetState(TSeState state) {
    TSeActiveBitmap::SetState(state);
    FollowState(Visible, action_, state);
}

void TSeSystemButton::SetSysButtons(TteWindowButtons buttons) {
    TSeActiveBitmap::SetSysButtons(buttons);
    FollowButtons(Visible, action_, state_, buttons);
}

void TSeSystemButton::SetChildState(TSeState state) {
    for (int i = 0; i < GetCount(); ++i) GetObject(i)->SetState(state);
}

void TSeSystemButton::AfterLoad() {
    TSeActiveBitmap::AfterLoad();
    BindLink(bitmapHot_, true);
    BindLink(bitmapPressed_, true);
}

void TSeSystemButton::Draw(TCanvas& canvas, const TRect& clip) {
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    if (action_ == sbaSysMenu) {
        DrawSysMenuIcon(canvas, GetBoundsRect());
        return;
    }
    const bool wasActive = active_;
    Restore undo([&] {
        active_ = wasActive;
        SetChildState(ssNormal);
    });
    if (!active_) {
        SetChildState(ssDisabled);
        TSeActiveBitmap::Draw(canvas, clip);
    } else if (ButtonState == sbsNormal) {
        TSeActiveBitmap::Draw(canvas, clip);
    } else {
        const bool hover = ButtonState == sbsHover;
        active_ = false;
        SetChildState(hover ? ssHot : ssPressed);
        TteBitmapLink* link = hover ? bitmapHot_.get() : bitmapPressed_.get();
        DrawWith(link, [&] { TSeActiveBitmap::Draw(canvas, clip); });
    }
}

// ---- TSeButtonObject ------------------------------------------------------------

TSeButtonObject::TSeButtonObject(TComponent* owner) : TSeBitmapObject(owner) {
    for (auto& l : links_) l = NewLink();
}

void TSeButtonObject::Assign(TPersistent* source) {
    TSeBitmapObject::Assign(source);
    if (auto* src = dynamic_cast<TSeButtonObject*>(source); src && src != this) {
        for (size_t i = 0; i < links_.size(); ++i) CopyLink(links_[i], src->links_[i]);
    }
}

void TSeButtonObject::AfterLoad() {
    TSeBitmapObject::AfterLoad();
    for (auto& l : links_) BindLink(l, true);
}

void TSeButtonObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return;
    TteBitmapLink* link = nullptr;
    switch (state_) {
        case ssFocused: link = GetBitmapFocused(); break;
        case ssHot: link = GetBitmapHot(); break;
        case ssDisabled: link = GetBitmapDisabled(); break;
        case ssPressed: link = GetBitmapPressed(); break;
        default: break;
    }
    DrawWith(link, [&] { TSeBitmapObject::Draw(canvas, clip); });
}

// ---- TSeActiveObject ------------------------------------------------------------

TSeActiveObject::TSeActiveObject(TComponent* owner)
    : TSeSkinObject(owner), activeFont_(NewSkinFont()), disabledFont_(NewSkinFont()) {}

void TSeActiveObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeActiveObject*>(source); src && src != this) {
        activeColor_ = src->activeColor_;
        CopyFont(activeFont_.get(), src->activeFont_.get());
        CopyFont(disabledFont_.get(), src->disabledFont_.get());
    }
}

TFont* TSeActiveObject::GetFont() {
    return AnyOf(state_, {ssHot, ssPressed, ssFocused}) ? activeFont_.get() : TSeSkinObject::GetFont();
}

// Draws as a plain object with the colour and font swapped for the call.
template <class O>
void DrawSwapped(O& object, TColor color, TFont* font, TCanvas& canvas, const TRect& clip,
                 void (O::*plain)(TCanvas&, const TRect&)) {
    const TColor ownColor = object.GetColor();
    TFont ownFont;
    ownFont.Assign(object.Font());
    Restore undo([&] {
        object.SetColor(ownColor);
        object.SetFont(&ownFont);
    });
    object.SetColor(color);
    object.SetFont(font);
    (object.*plain)(canvas, clip);
}

void TSeActiveObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    if (active_ || AnyOf(state_, {ssHot, ssPressed, ssFocused})) {
        DrawSwapped<TSeSkinObject>(*this, activeColor_, activeFont_.get(), canvas, clip,
                                   &TSeActiveObject::DrawPlain);
    } else if (state_ == ssDisabled) {
        DrawSwapped<TSeSkinObject>(*this, GetColor(), disabledFont_.get(), canvas, clip,
                                   &TSeActiveObject::DrawPlain);
    } else {
        DrawPlain(canvas, clip);
    }
}

namespace {
void ShiftFontHue(TFont* font, int amount) {
    font->SetColor(teColorToColor(ChangeHue(teColor(font->Color(), 255), amount)));
}
void ShiftFontBrightness(TFont* font, int amount) {
    font->SetColor(teColorToColor(ChangeBrightness(teColor(font->Color(), 255), amount)));
}
TColor ShiftHue(TColor c, int amount) {
    return c == clNone ? c : teColorToColor(ChangeHue(teColor(c, 255), amount));
}
TColor ShiftBrightness(TColor c, int amount) {
    return c == clNone ? c : teColorToColor(ChangeBrightness(teColor(c, 255), amount));
}
}  // namespace

void TSeActiveObject::ChangeHue(int amount) {
    TSeSkinObject::ChangeHue(amount);
    activeColor_ = ShiftHue(activeColor_, amount);
    ShiftFontHue(activeFont_.get(), amount);
    ShiftFontHue(disabledFont_.get(), amount);
}

void TSeActiveObject::ChangeBrightness(int amount) {
    TSeSkinObject::ChangeBrightness(amount);
    activeColor_ = ShiftBrightness(activeColor_, amount);
    ShiftFontBrightness(activeFont_.get(), amount);
    ShiftFontBrightness(disabledFont_.get(), amount);
}

void TSeActiveObject::SetCharset(TFontCharset charset) {
    TSeSkinObject::SetCharset(charset);
    activeFont_->SetCharset(charset);
}

// ---- TSeTextObject --------------------------------------------------------------

TSeTextObject::TSeTextObject(TComponent* owner) : TSeSkinObject(owner) {
    for (auto& f : fonts_) f = NewSkinFont();
}

void TSeTextObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeTextObject*>(source); src && src != this) {
        for (size_t i = 0; i < fonts_.size(); ++i) CopyFont(fonts_[i].get(), src->fonts_[i].get());
    }
}

TFont* TSeTextObject::StateFont() {
    switch (state_) {
        case ssHot: return FontHot();
        case ssPressed: return FontPressed();
        case ssFocused: return FontFocused();
        case ssDisabled: return FontDisabled();
        default: return nullptr;
    }
}

TFont* TSeTextObject::GetFont() {
    TFont* f = StateFont();
    return f ? f : TSeSkinObject::GetFont();
}

void TSeTextObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    if (TFont* f = StateFont()) {
        DrawSwapped<TSeSkinObject>(*this, GetColor(), f, canvas, clip, &TSeTextObject::DrawPlain);
    } else {
        DrawPlain(canvas, clip);
    }
}

void TSeTextObject::ChangeHue(int amount) {
    TSeSkinObject::ChangeHue(amount);
    for (auto& f : fonts_) ShiftFontHue(f.get(), amount);
}

void TSeTextObject::ChangeBrightness(int amount) {
    TSeSkinObject::ChangeBrightness(amount);
    for (auto& f : fonts_) ShiftFontBrightness(f.get(), amount);
}

void TSeTextObject::SetCharset(TFontCharset charset) {
    TSeSkinObject::SetCharset(charset);
    for (auto& f : fonts_) f->SetCharset(charset);
}

// ---- TSeLinkSkinObject ----------------------------------------------------------

void TSeLinkSkinObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeLinkSkinObject*>(source)) linkControl_ = src->linkControl_;
}

void TSeLinkSkinObject::Draw(TCanvas& canvas, const TRect& clip) {
    (void)clip;
    if (state_ != ssDesign || GetWidth() <= 0 || GetHeight() <= 0) return;
    TRect r = GetBoundsRect();
    FillRect(canvas, r, clWhite);
    DrawRect(canvas, r, clBlack);
    TFont font;
    font.SetName("Arial");
    font.SetStyle(TFontStyles{fsItalic});
    font.SetColor(clBlack);
    canvas.SetFont(&font);
    const WideString text = StringToWideString(CP_UTF8, linkControl_);
    DrawText(canvas, text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

// ---- TSeBitmapSkinObject --------------------------------------------------------

TSeBitmapSkinObject::TSeBitmapSkinObject(TComponent* owner) : TSeSkinObject(owner), bitmap_(NewLink()) {}

void TSeBitmapSkinObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeBitmapSkinObject*>(source); src && src != this) {
        CopyLink(bitmap_, src->bitmap_);
        tileStyle_ = src->tileStyle_;
    }
}

void TSeBitmapSkinObject::BindLink(std::unique_ptr<TteBitmapLink>& link) {
    BindToList(GetBitmaps(), link, TRect{});
}

void TSeBitmapSkinObject::AfterLoad() {
    TSeSkinObject::AfterLoad();
    BindLink(bitmap_);
}

void TSeBitmapSkinObject::DrawWith(TteBitmapLink* link, const std::function<void()>& draw) {
    SwapLink(bitmap_, link, draw);
}

void TSeBitmapSkinObject::Draw(TCanvas& canvas, const TRect& clip) {
    (void)clip;
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return;
    TteBitmap& image = *bitmap_->Bitmap;
    const bool wasTransparent = image.Transparent;
    Restore undo([&] { image.Transparent = wasTransparent; });
    image.Transparent = bitmap_->Masked;
    const TRect b = GetBoundsRect();
    const TRect s = bitmap_->Rect();
    switch (tileStyle_) {
        case tsTile: image.Tile(canvas.Handle(), b, s); break;
        case tsStretch: image.Draw(canvas.Handle(), b, s); break;
        case tsCenter: {
            const TRect c = Centred(s.Width(), s.Height(), b);
            image.Draw(canvas.Handle(), c.left, c.top, s);
            break;
        }
        default: break;
    }
    DrawObjectText(canvas);
}

HRGN TSeBitmapSkinObject::CreateRegion() {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return nullptr;
    if (GetKind() == skClient) return CreateRectRgnIndirect(GetBoundsRect());
    return RegionFromDrawing(*this);
}

// ---- TSeFormBitmapSkinObject ----------------------------------------------------

TSeFormBitmapSkinObject::TSeFormBitmapSkinObject(TComponent* owner)
    : TSeBitmapSkinObject(owner), inactiveBitmap_(NewLink()) {}

void TSeFormBitmapSkinObject::Assign(TPersistent* source) {
    TSeBitmapSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeFormBitmapSkinObject*>(source); src && src != this)
        CopyLink(inactiveBitmap_, src->inactiveBitmap_);
}

void TSeFormBitmapSkinObject::AfterLoad() {
    TSeBitmapSkinObject::AfterLoad();
    BindLink(inactiveBitmap_);
}

void TSeFormBitmapSkinObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!active_ && Assigned(inactiveBitmap_.get())) {
        DrawWith(inactiveBitmap_.get(), [&] { TSeBitmapSkinObject::Draw(canvas, clip); });
    } else {
        TSeBitmapSkinObject::Draw(canvas, clip);
    }
}

// ---- TSeSysButtonSkinObject -----------------------------------------------------

TSeSysButtonSkinObject::TSeSysButtonSkinObject(TComponent* owner)
    : TSeBitmapSkinObject(owner), bitmapHover_(NewLink()), bitmapDown_(NewLink()) {
    SetKind(skSysButton);
}

void TSeSysButtonSkinObject::Assign(TPersistent* source) {
    TSeBitmapSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeSysButtonSkinObject*>(source); src && src != this) {
        action_ = src->action_;
        CopyLink(bitmapHover_, src->bitmapHover_);
        CopyLink(bitmapDown_, src->bitmapDown_);
        rollPanel_ = src->rollPanel_;
    }
}

void TSeSysButtonSkinObject::SetState(TSeState state) {
    TSeBitmapSkinObject::SetState(state);
    FollowState(Visible, action_, state);
}

void TSeSysButtonSkinObject::SetSysButtons(TteWindowButtons buttons) {
    TSeBitmapSkinObject::SetSysButtons(buttons);
    FollowButtons(Visible, action_, state_, buttons);
}

void TSeSysButtonSkinObject::AfterLoad() {
    TSeBitmapSkinObject::AfterLoad();
    BindLink(bitmapHover_);
    BindLink(bitmapDown_);
}

void TSeSysButtonSkinObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    if (action_ == sbaSysMenu) {
        DrawSysMenuIcon(canvas, GetBoundsRect());
        return;
    }
    switch (ButtonState) {
        case sbsHover: DrawWith(bitmapHover_.get(), [&] { TSeBitmapSkinObject::Draw(canvas, clip); }); break;
        case sbsDown: DrawWith(bitmapDown_.get(), [&] { TSeBitmapSkinObject::Draw(canvas, clip); }); break;
        default: TSeBitmapSkinObject::Draw(canvas, clip); break;
    }
}

// ---- TSeActiveSkinObject --------------------------------------------------------

TSeActiveSkinObject::TSeActiveSkinObject(TComponent* owner)
    : TSeSkinObject(owner), activeFont_(NewSkinFont()) {}

void TSeActiveSkinObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeActiveSkinObject*>(source); src && src != this) {
        activeColor_ = src->activeColor_;
        CopyFont(activeFont_.get(), src->activeFont_.get());
    }
}

void TSeActiveSkinObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (GetWidth() <= 0 || GetHeight() <= 0) return;
    if (AnyOf(state_, {ssFocused, ssHot})) {
        DrawSwapped<TSeSkinObject>(*this, activeColor_, activeFont_.get(), canvas, clip,
                                   &TSeActiveSkinObject::DrawPlain);
    } else {
        DrawPlain(canvas, clip);
    }
}

void TSeActiveSkinObject::ChangeHue(int amount) {
    TSeSkinObject::ChangeHue(amount);
    activeColor_ = ShiftHue(activeColor_, amount);
    ShiftFontHue(activeFont_.get(), amount);
}

void TSeActiveSkinObject::ChangeBrightness(int amount) {
    TSeSkinObject::ChangeBrightness(amount);
    activeColor_ = ShiftBrightness(activeColor_, amount);
    ShiftFontBrightness(activeFont_.get(), amount);
}

// ---- TSeColorButtonObject -------------------------------------------------------

TSeColorButtonObject::TSeColorButtonObject(TComponent* owner) : TSeSkinObject(owner) {
    for (auto& f : fonts_) f = NewSkinFont();
}

void TSeColorButtonObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeColorButtonObject*>(source); src && src != this) {
        colors_ = src->colors_;
        for (size_t i = 0; i < fonts_.size(); ++i) CopyFont(fonts_[i].get(), src->fonts_[i].get());
    }
}

void TSeColorButtonObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (GetWidth() < 1 || GetHeight() < 1) return;
    int i = -1;
    switch (state_) {
        case ssHot: i = 0; break;
        case ssPressed: i = 1; break;
        case ssFocused: i = 2; break;
        case ssDisabled: i = 3; break;
        default: break;
    }
    if (i < 0) {
        DrawPlain(canvas, clip);
    } else {
        DrawSwapped<TSeSkinObject>(*this, colors_[static_cast<size_t>(i)],
                                   fonts_[static_cast<size_t>(i)].get(), canvas, clip,
                                   &TSeColorButtonObject::DrawPlain);
    }
}

// ---- TSeBitmapBoxObject family --------------------------------------------------

void TSeBitmapBoxObject::Assign(TPersistent* source) {
    TSeBitmapSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeBitmapBoxObject*>(source)) borderTileStyle_ = src->borderTileStyle_;
}

void TSeBitmapBoxObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return;
    DrawBox(canvas, clip);
}

void TSeBitmapBoxObject::DrawBox(TCanvas& canvas, const TRect& clip) {
    const int ml = GetMarginLeft(), mt = GetMarginTop(), mr = GetMarginRight(), mb = GetMarginBottom();
    if (ml == 0 && mt == 0 && mr == 0 && mb == 0) {
        TSeBitmapSkinObject::Draw(canvas, clip);
        return;
    }
    TteBitmap& image = *bitmap_->Bitmap;
    const bool wasTransparent = image.Transparent;
    Restore undo([&] { image.Transparent = wasTransparent; });
    image.Transparent = bitmap_->Masked;
    const TRect s = bitmap_->Rect();
    const int w = GetWidth(), h = GetHeight(), x = GetLeft(), y = GetTop();
    HDC dc = canvas.Handle();
    const TPoint origin{x, y};
    const auto piece = [&](const TRect& dst, const TRect& src, TscTileStyle style) {
        DrawPiece(image, dc, Moved(dst, x, y), src, style, origin, true);
    };
    piece(TRect{ml, mt, w - mr, h - mb}, TRect{s.left + ml, s.top + mt, s.right - mr, s.bottom - mb},
          GetTileStyle());
    piece(TRect{ml, 0, w - mr, mt}, TRect{s.left + ml, s.top, s.right - mr, s.top + mt}, borderTileStyle_);
    piece(TRect{ml, h - mb, w - mr, h}, TRect{s.left + ml, s.bottom - mb, s.right - mr, s.bottom},
          borderTileStyle_);
    piece(TRect{0, mt, ml, h - mb}, TRect{s.left, s.top + mt, s.left + ml, s.bottom - mb}, borderTileStyle_);
    piece(TRect{w - mr, mt, w, h - mb}, TRect{s.right - mr, s.top + mt, s.right, s.bottom - mb},
          borderTileStyle_);
    const auto corner = [&](int cx, int cy, const TRect& src) {
        if (!src.IsEmpty()) image.Draw(dc, x + cx, y + cy, src);
    };
    corner(0, 0, TRect{s.left, s.top, s.left + ml, s.top + mt});
    corner(w - mr, 0, TRect{s.right - mr, s.top, s.right, s.top + mt});
    corner(0, h - mb, TRect{s.left, s.bottom - mb, s.left + ml, s.bottom});
    corner(w - mr, h - mb, TRect{s.right - mr, s.bottom - mb, s.right, s.bottom});
    DrawObjectText(canvas);
}

TSeActiveBitmapBoxObject::TSeActiveBitmapBoxObject(TComponent* owner)
    : TSeBitmapBoxObject(owner), focusedBitmap_(NewLink()) {}

void TSeActiveBitmapBoxObject::Assign(TPersistent* source) {
    TSeBitmapBoxObject::Assign(source);
    if (auto* src = dynamic_cast<TSeActiveBitmapBoxObject*>(source); src && src != this)
        CopyLink(focusedBitmap_, src->focusedBitmap_);
}

void TSeActiveBitmapBoxObject::AfterLoad() {
    TSeBitmapBoxObject::AfterLoad();
    BindLink(focusedBitmap_);
}

void TSeActiveBitmapBoxObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return;
    if (AnyOf(state_, {ssFocused, ssHot}) && Assigned(focusedBitmap_.get())) {
        DrawWith(focusedBitmap_.get(), [&] { DrawBox(canvas, clip); });
    } else {
        DrawBox(canvas, clip);
    }
}

TSeButtonBitmapBoxObject::TSeButtonBitmapBoxObject(TComponent* owner) : TSeBitmapBoxObject(owner) {
    for (auto& l : links_) l = NewLink();
}

void TSeButtonBitmapBoxObject::Assign(TPersistent* source) {
    TSeBitmapBoxObject::Assign(source);
    if (auto* src = dynamic_cast<TSeButtonBitmapBoxObject*>(source); src && src != this) {
        for (size_t i = 0; i < links_.size(); ++i) CopyLink(links_[i], src->links_[i]);
    }
}

void TSeButtonBitmapBoxObject::AfterLoad() {
    TSeBitmapBoxObject::AfterLoad();
    for (auto& l : links_) BindLink(l);
}

void TSeButtonBitmapBoxObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!Assigned(bitmap_.get()) || GetWidth() <= 0 || GetHeight() <= 0) return;
    TteBitmapLink* link = nullptr;
    switch (state_) {
        case ssFocused: link = GetFocusedBitmap(); break;
        case ssHot: link = GetHotBitmap(); break;
        case ssDisabled: link = GetDisabledBitmap(); break;
        case ssPressed: link = GetPressedBitmap(); break;
        default: break;
    }
    DrawWith(link, [&] { DrawBox(canvas, clip); });
}

// ---- TSeRollPanelObject ---------------------------------------------------------

void TSeRollPanelObject::Assign(TPersistent* source) {
    TSeSkinObject::Assign(source);
    if (auto* src = dynamic_cast<TSeRollPanelObject*>(source)) {
        rollKind_ = src->rollKind_;
        rollValue_ = src->rollValue_;
    }
}

void TSeRollPanelObject::Roll() {
    if (!Parent()) return;
    const bool horizontal = rollKind_ == rkLeft || rollKind_ == rkRight;
    const int extent = horizontal ? GetWidth() : GetHeight();
    int target;
    if (extent != rollValue_) {
        savedExtent_ = extent;
        target = rollValue_;
    } else {
        target = savedExtent_;
    }
    const TRect b = GetBoundsRect();
    switch (rollKind_) {
        case rkLeft: SetBoundsRect(TRect{b.right - target, b.top, b.right, b.bottom}); break;
        case rkTop: SetBoundsRect(TRect{b.left, b.bottom - target, b.right, b.bottom}); break;
        case rkRight: SetWidth(target); break;
        case rkBottom: SetHeight(target); break;
    }
    OwnerUpdate();
}

void TSeRollPanelObject::OwnerUpdate() {
    if (Application) Application->ProcessMessages();
}

}  // namespace tarvel
