#include "skin/themes/theme_se3objects.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/classlib/ComponentText.h"
#include "platform/classlib/Filer.h"
#include "platform/classlib/PropertyTable.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

void DeclareSkinObjectSubclasses();  // theme_se3objects_bitmaps.cpp

namespace {

constexpr const char* kKindIdents[] = {"skNone",
                                       "skForm",
                                       "skCaption",
                                       "skTitle",
                                       "skTop",
                                       "skLeft",
                                       "skRight",
                                       "skBottom",
                                       "skTopLeft",
                                       "skTopRight",
                                       "skBottomLeft",
                                       "skBottomRight",
                                       "skSysButton",
                                       "skClient",
                                       "skMenuBar",
                                       "skMenuBarItem",
                                       "skMenuBarItemText",
                                       "skPopupMenu",
                                       "skPopupMenuItem",
                                       "skPopupMenuItemText",
                                       "skItemText",
                                       "skTranparentOnly",
                                       "skTranparent",
                                       "skRoundMask",
                                       "skNoMask",
                                       "skMaskOnly"};
constexpr const char* kAlignIdents[] = {
    "saNone",       "saLeft",        "saMostLeft",   "saTop",    "saMostTop",       "saRight",
    "saMostRight",  "saBottom",      "saMostBottom", "saClient", "saTopLeft",       "saTopRight",
    "saBottomLeft", "saBottomRight", "saCenter",     "saText",   "saTopRightAngle", "saAll"};
constexpr const char* kTextAlignIdents[] = {"taTopLeft",    "taTopCenter",    "taTopRight",
                                            "taLeft",       "taCenter",       "taRight",
                                            "taBottomLeft", "taBottomCenter", "taBottomRight"};
constexpr const char* kTextEffectIdents[] = {"teNone", "teShadow"};
constexpr const char* kTileStyleIdents[] = {
    "tsTile",           "tsStretch",           "tsCenter",        "tsVertCenterStretch",
    "tsVertCenterTile", "tsHorzCenterStretch", "tsHorzCenterTile"};
constexpr const char* kActionIdents[] = {"sbaNone",     "sbaClose",   "sbaHelp",      "sbaMinimize",
                                         "sbaMaximize", "sbaRestore", "sbaRollUp",    "sbaRollDown",
                                         "sbaTray",     "sbaSysMenu", "sbaRollPanel", "sbaCustom"};
constexpr const char* kRollKindIdents[] = {"rkLeft", "rkTop", "rkRight", "rkBottom"};

TRect Moved(TRect r, int dx, int dy) {
    r.Offset(dx, dy);
    return r;
}

constexpr uint32_t kBinaryChildren = 0x000F0000;
constexpr UINT kObjectInvalidate = 0x849;

void DeclareSkinObject(TPropertyTable& t) {
    using O = TSeSkinObject;
    t.Enumeration<&O::GetAlign, &O::SetAlign>("Align", kAlignIdents)
        .Color<&O::GetColor, &O::SetColor>("Color")
        .Boolean<&O::GetDrawIfOwner, &O::SetDrawIfOwner>("DrawIfOwner")
        .Object<&O::Font>("Font")
        .Enumeration<&O::GetKind, &O::SetKind>("Kind", kKindIdents)
        .Boolean<&O::GetMasked, &O::SetMasked>("Masked")
        .Integer<&O::GetLeft, &O::SetLeft>("Left")
        .Integer<&O::GetTop, &O::SetTop>("Top")
        .Integer<&O::GetHeight, &O::SetHeight>("Height")
        .Integer<&O::GetWidth, &O::SetWidth>("Width")
        .Integer<&O::GetMarginLeft, &O::SetMarginLeft>("MarginLeft")
        .Integer<&O::GetMarginRight, &O::SetMarginRight>("MarginRight")
        .Integer<&O::GetMarginTop, &O::SetMarginTop>("MarginTop")
        .Integer<&O::GetMarginBottom, &O::SetMarginBottom>("MarginBottom")
        .Enumeration<&O::GetTextAlign, &O::SetTextAlign>("TextAlign", kTextAlignIdents)
        .Enumeration<&O::GetTextEffect, &O::SetTextEffect>("TextEffect", kTextEffectIdents)
        .Integer<&O::GetTextMarginLeft, &O::SetTextMarginLeft>("TextMarginLeft")
        .Boolean<&O::GetTextShiftSysIton, &O::SetTextShiftSysIton>("TextShiftSysIton")
        .Integer<&O::GetTextMarginRight, &O::SetTextMarginRight>("TextMarginRight")
        .Boolean<&O::GetTextMarginRightStretch, &O::SetTextMarginRightStretch>("TextMarginRightStretch")
        .Integer<&O::GetTextMarginTop, &O::SetTextMarginTop>("TextMarginTop");
}

void DeclareBitmapLink(TPropertyTable& t) {
    using L = TteBitmapLink;
    TPropInfo name("Name", TPropKind::String);
    name.GetStr = [](TPersistent& o) { return static_cast<L&>(o).Name; };
    name.SetStr = [](TPersistent& o, const String& v) { static_cast<L&>(o).Name = v; };
    t.Add(std::move(name))
        .Integer<&L::GetLeft, &L::SetLeft>("Left")
        .Integer<&L::GetTop, &L::SetTop>("Top")
        .Integer<&L::GetRight, &L::SetRight>("Right")
        .Integer<&L::GetBottom, &L::SetBottom>("Bottom");
}

std::vector<TClass>& Registry() {
    static std::vector<TClass> classes;
    return classes;
}

TSeSkinObject* ReadObjectData(TClass cls, const std::vector<uint8_t>& bytes, TComponent* owner) {
    TMemoryStream data;
    if (!bytes.empty()) data.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data.SetPosition(0);
    std::unique_ptr<TSeSkinObject> object(cls->Create<TSeSkinObject>(owner));
    TReader reader(data);
    reader.ReadRootComponent(object.get());
    if (data.Position() != data.Size()) throw EReadError("Skin object record longer than its object");
    object->SetCharset(DEFAULT_CHARSET);
    return object.release();
}

void WriteObjectData(TSeSkinObject* object, TMemoryStream& data) {
    TWriter writer(data);
    writer.WriteRootComponent(object);
}

}  // namespace

std::span<const char* const> SeKindIdents() { return kKindIdents; }
std::span<const char* const> SeAlignIdents() { return kAlignIdents; }
std::span<const char* const> SeTextAlignIdents() { return kTextAlignIdents; }
std::span<const char* const> SeTextEffectIdents() { return kTextEffectIdents; }
std::span<const char* const> TileStyleIdents() { return kTileStyleIdents; }
std::span<const char* const> SeActionIdents() { return kActionIdents; }
std::span<const char* const> SeRollKindIdents() { return kRollKindIdents; }

std::unique_ptr<TFont> NewSkinFont() {
    auto font = std::make_unique<TFont>();
    font->SetName("Tahoma");
    font->SetSize(8);
    font->SetColor(clBlack);
    return font;
}

// ---- TSeSkinObject -----------------------------------------------------------

TSeSkinObject::TSeSkinObject(TComponent* owner)
    : TComponent(dynamic_cast<TSeSkinObject*>(owner) ? nullptr : owner), font_(NewSkinFont()) {
    static const bool declared = [] {
        RegisterPropertyTable(TSeSkinObject::StaticClass(), DeclareSkinObject);
        RegisterPropertyTable(TteBitmapLink::StaticClass(), DeclareBitmapLink);
        DeclareSkinObjectSubclasses();
        return true;
    }();
    (void)declared;
    if (auto* parent = dynamic_cast<TSeSkinObject*>(owner)) parent->Add(this);
}

TSeSkinObject::~TSeSkinObject() {
    if (parent_) parent_->Remove(this);
    while (!children_.empty()) delete children_.back();
}

TSeSkinObject* TSeSkinObject::GetObject(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

void TSeSkinObject::Add(TSeSkinObject* object) {
    if (!object || object->parent_ == this) return;
    if (object->parent_) object->parent_->Remove(object);
    children_.push_back(object);
    object->parent_ = this;
}

void TSeSkinObject::Remove(TSeSkinObject* object) {
    if (!object || object->parent_ != this) return;
    std::erase(children_, object);
    object->parent_ = nullptr;
}

void TSeSkinObject::Assign(TPersistent* source) {
    auto* src = dynamic_cast<TSeSkinObject*>(source);
    if (!src) {
        TComponent::Assign(source);
        return;
    }
    if (src == this) return;
    SetName(src->Name());
    masked_ = src->masked_;
    align_ = src->align_;
    kind_ = src->kind_;
    bitmaps_ = src->bitmaps_;
    color_ = src->color_;
    drawIfOwner_ = src->drawIfOwner_;
    font_->Assign(src->font_.get());
    textAlign_ = src->textAlign_;
    textEffect_ = src->textEffect_;
    textMarginLeft_ = src->textMarginLeft_;
    textMarginRight_ = src->textMarginRight_;
    textMarginTop_ = src->textMarginTop_;
    textMarginRightStretch_ = src->textMarginRightStretch_;
    textShiftSysIton_ = src->textShiftSysIton_;
    marginLeft_ = src->marginLeft_;
    marginRight_ = src->marginRight_;
    marginTop_ = src->marginTop_;
    marginBottom_ = src->marginBottom_;
    for (TSeSkinObject* child : std::vector<TSeSkinObject*>(src->children_)) child->CreateCopy(this);
    left_ = src->left_;
    top_ = src->top_;
    width_ = src->width_;
    height_ = src->height_;
}

TSeSkinObject* TSeSkinObject::CreateCopy(TComponent* owner) const {
    TClass cls = GetSkinObjectClass(ClassName());
    if (!cls) return nullptr;
    std::unique_ptr<TSeSkinObject> copy(cls->Create<TSeSkinObject>(owner));
    copy->Assign(const_cast<TSeSkinObject*>(this));
    return copy.release();
}

// ---- lookups ----

TSeSkinObject* TSeSkinObject::FindObjectByKind(TSeKind kind) {
    if (kind_ == kind) return this;
    for (TSeSkinObject* child : children_) {
        if (TSeSkinObject* found = child->FindObjectByKind(kind)) return found;
    }
    return nullptr;
}

TSeSkinObject* TSeSkinObject::FindObjectByAction(TSeAction action) {
    if (auto* b = dynamic_cast<TSeSystemButton*>(this); b && b->GetAction() == action) return this;
    if (auto* b = dynamic_cast<TSeSysButtonSkinObject*>(this); b && b->GetAction() == action) return this;
    for (TSeSkinObject* child : children_) {
        if (TSeSkinObject* found = child->FindObjectByAction(action)) return found;
    }
    return nullptr;
}

TSeSkinObject* TSeSkinObject::FindObjectByName(std::string_view name) {
    if (SameText(Name(), name)) return this;
    const std::string_view head = name.substr(0, name.find('\\'));
    for (TSeSkinObject* child : children_) {
        if (TSeSkinObject* found = child->FindObjectByName(head)) return found;
    }
    return nullptr;
}

TSeSkinObject* TSeSkinObject::FindObjectByPoint(TPoint p) {
    if (!Visible || !GetBoundsRect().Contains(p) || kind_ == skTranparent) return nullptr;
    if (children_.empty()) return this;
    TSeSkinObject* hit = nullptr;
    for (TSeSkinObject* child : children_) {
        if (TSeSkinObject* found = child->FindObjectByPoint(p)) hit = found;
    }
    return hit ? hit : this;
}

TSeSkinObject* TSeSkinObject::FindObjectByPointAll(TPoint p) {
    if (!GetBoundsRect().Contains(p) || kind_ == skTranparent) return nullptr;
    const bool selfless = kind_ == skTranparentOnly || kind_ == skRoundMask || kind_ == skMaskOnly;
    if (children_.empty()) return selfless ? nullptr : this;
    TSeSkinObject* hit = nullptr;
    for (TSeSkinObject* child : children_) {
        if (TSeSkinObject* found = child->FindObjectByPointAll(p)) hit = found;
    }
    return hit ? hit : (selfless ? nullptr : this);
}

// ---- state ----

TFont* TSeSkinObject::GetFont() { return font_.get(); }

void TSeSkinObject::SetSysButtons(TteWindowButtons buttons) {
    sysButtons_ = buttons;
    for (TSeSkinObject* child : children_) child->SetSysButtons(buttons);
}

void TSeSkinObject::SetState(TSeState state) {
    state_ = state;
    for (TSeSkinObject* child : children_) child->SetState(state);
}

void TSeSkinObject::SetActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    for (TSeSkinObject* child : children_) child->SetActive(active);
}

void TSeSkinObject::AfterLoad() {
    for (TSeSkinObject* child : children_) child->AfterLoad();
}

void TSeSkinObject::SetParentControl(TWinControl* control) {
    parentControl_ = control;
    for (TSeSkinObject* child : children_) child->SetParentControl(control);
}

void TSeSkinObject::SetBiDiMode(TSeBiDiMode mode) {
    biDiMode_ = mode;
    for (TSeSkinObject* child : children_) child->SetBiDiMode(mode);
}

void TSeSkinObject::SetBitmaps(TteBitmapList* bitmaps) {
    bitmaps_ = bitmaps;
    for (TSeSkinObject* child : children_) child->SetBitmaps(bitmaps);
}

// Our platform has no Middle-East system locale, so text always reads left
// to right; the flags stay for the theme's callers.
bool TSeSkinObject::UseRightToLeftAlignment() const { return false; }
bool TSeSkinObject::UseRightToLeftReading() const { return false; }

unsigned TSeSkinObject::DrawTextBiDiModeFlagsReadingOnly() const {
    return UseRightToLeftReading() ? static_cast<unsigned>(DT_RTLREADING) : 0u;
}

unsigned TSeSkinObject::DrawTextBiDiModeFlags(unsigned flags) const {
    if (UseRightToLeftAlignment()) {
        if (flags & DT_RIGHT) {
            flags &= ~static_cast<unsigned>(DT_RIGHT);
        } else if (!(flags & DT_CENTER)) {
            flags |= DT_RIGHT;
        }
    }
    return flags | DrawTextBiDiModeFlagsReadingOnly();
}

void TSeSkinObject::Invalidate() {
    if (Visible && parentControl_)
        parentControl_->Perform(kObjectInvalidate, 0, reinterpret_cast<LPARAM>(this));
}

void TSeSkinObject::ChangeHue(int amount) {
    if (color_ != clNone) color_ = teColorToColor(tarvel::ChangeHue(teColor(color_, 255), amount));
    if (font_->Color() != clNone)
        font_->SetColor(teColorToColor(tarvel::ChangeHue(teColor(font_->Color(), 255), amount)));
    for (TSeSkinObject* child : children_) child->ChangeHue(amount);
}

void TSeSkinObject::ChangeBrightness(int amount) {
    if (color_ != clNone) color_ = teColorToColor(tarvel::ChangeBrightness(teColor(color_, 255), amount));
    if (font_->Color() != clNone)
        font_->SetColor(teColorToColor(tarvel::ChangeBrightness(teColor(font_->Color(), 255), amount)));
    for (TSeSkinObject* child : children_) child->ChangeBrightness(amount);
}

void TSeSkinObject::SetCharset(TFontCharset charset) {
    font_->SetCharset(charset);
    for (TSeSkinObject* child : children_) child->SetCharset(charset);
}

// ---- layout ----

void TSeSkinObject::SetLeft(int v) { SetBoundsRect(TRect{v, top_, v + width_, top_ + height_}); }
void TSeSkinObject::SetTop(int v) { SetBoundsRect(TRect{left_, v, left_ + width_, v + height_}); }
void TSeSkinObject::SetWidth(int v) { SetBoundsRect(TRect{left_, top_, left_ + v, top_ + height_}); }
void TSeSkinObject::SetHeight(int v) { SetBoundsRect(TRect{left_, top_, left_ + width_, top_ + v}); }

void TSeSkinObject::SetBoundsRect(const TRect& r) {
    if (r == GetBoundsRect()) return;
    prevLeft_ = left_;
    prevTop_ = top_;
    prevWidth_ = width_;
    prevHeight_ = height_;
    left_ = r.left;
    top_ = r.top;
    width_ = std::max(0, r.Width());
    height_ = std::max(0, r.Height());
    Aligning();
    prevLeft_ = left_;
    prevTop_ = top_;
    prevWidth_ = width_;
    prevHeight_ = height_;
}

void TSeSkinObject::Aligning() {
    TRect w = GetBoundsRect();
    const auto visible = [this] {
        std::vector<TSeSkinObject*> v;
        for (TSeSkinObject* c : children_) {
            if (c->Visible) v.push_back(c);
        }
        return v;
    }();
    const auto vertical = [&](TSeAlign top, TSeAlign bottom) {
        for (TSeSkinObject* c : visible) {
            const int h = c->height_;
            if (c->align_ == top) {
                c->SetBoundsRect(TRect{w.left, w.top, w.right, w.top + h});
                w.top += h;
            } else if (c->align_ == bottom) {
                c->SetBoundsRect(TRect{w.left, w.bottom - h, w.right, w.bottom});
                w.bottom -= h;
            }
        }
    };
    const auto horizontal = [&](TSeAlign left, TSeAlign right) {
        for (TSeSkinObject* c : visible) {
            const int cw = c->width_;
            if (c->align_ == left) {
                c->SetBoundsRect(TRect{w.left, w.top, w.left + cw, w.bottom});
                w.left += cw;
            } else if (c->align_ == right) {
                c->SetBoundsRect(TRect{w.right - cw, w.top, w.right, w.bottom});
                w.right -= cw;
            }
        }
    };
    vertical(saMostTop, saMostBottom);
    horizontal(saMostLeft, saMostRight);
    vertical(saTop, saBottom);
    horizontal(saLeft, saRight);
    for (auto it = visible.rbegin(); it != visible.rend(); ++it) {
        TSeSkinObject* c = *it;
        if (c->align_ != saText) continue;
        TteBitmap measure;
        measure.SetSize(1, 1);
        measure.GetCanvas()->SetFont(c->font_.get());
        const int tw = TextWidth(*measure.GetCanvas(), c->Text) + c->textMarginLeft_ + c->textMarginRight_;
        c->SetBoundsRect(TRect{c->left_, c->top_, c->left_ + tw, c->top_ + c->height_});
    }
    for (auto it = visible.rbegin(); it != visible.rend(); ++it) {
        TSeSkinObject* c = *it;
        if (c->align_ != saCenter) continue;
        const int l = w.left + (w.Width() - c->width_) / 2;
        const int t = w.top + (w.Height() - c->height_) / 2;
        c->SetBoundsRect(TRect{l, t, l + c->width_, t + c->height_});
    }
    for (TSeSkinObject* c : visible) {
        if (c->align_ == saClient) c->SetBoundsRect(w);
    }
    for (TSeSkinObject* c : visible) {
        if (c->align_ == saAll) c->SetBoundsRect(TRect{0, 0, width_, height_});
    }
    const int dLeft = left_ - prevLeft_, dTop = top_ - prevTop_;
    const int dRight = (left_ + width_) - (prevLeft_ + prevWidth_);
    const int dBottom = (top_ + height_) - (prevTop_ + prevHeight_);
    for (TSeSkinObject* c : children_) {
        const TRect b = c->GetBoundsRect();
        switch (c->align_) {
            case saTopRightAngle: c->SetBoundsRect(TRect{width_ - c->width_, 0, width_, c->height_}); break;
            case saTopLeft:
                if (prevWidth_ > 0) c->SetBoundsRect(Moved(b, dLeft, dTop));
                break;
            case saTopRight:
                if (prevWidth_ > 0) c->SetBoundsRect(Moved(b, dRight, dTop));
                break;
            case saBottomLeft: c->top_ += height_ - prevHeight_; break;
            // Anchored to the corner, so repeated layouts leave it in place.
            case saBottomRight:
                if (prevWidth_ > 0) c->SetBoundsRect(Moved(b, dRight, dBottom));
                break;
            default: break;
        }
    }
}

void TSeSkinObject::AligningAll() {
    Aligning();
    for (TSeSkinObject* child : children_) child->AligningAll();
}

// ---- drawing ----

void TSeSkinObject::Draw(TCanvas& canvas, const TRect& clip) {
    if (!Visible || width_ <= 0 || height_ <= 0) return;
    if (!IsRectEmpty(clip) && IsRectEmpty(Intersect(clip, GetBoundsRect()))) return;
    if (kind_ == skRoundMask || kind_ == skMaskOnly) return;
    if (children_.empty() || drawIfOwner_) {
        if (color_ != clNone) FillRect(canvas, GetBoundsRect(), color_);
        DrawObjectText(canvas);
    }
    DrawChild(canvas, clip);
}

void TSeSkinObject::DrawChild(TCanvas& canvas, const TRect& clip) {
    for (TSeSkinObject* child : std::vector<TSeSkinObject*>(children_)) {
        if (!child->Visible || child->width_ <= 0 || child->height_ <= 0) continue;
        if (IsRectEmpty(clip) || !IsRectEmpty(Intersect(clip, child->GetBoundsRect())))
            child->Draw(canvas, clip);
    }
}

void TSeSkinObject::DrawObjectText(TCanvas& canvas) {
    if (Text == u"-") {
        const int y = top_ + height_ / 2 - 1;
        FillRect(canvas, left_ + 3, y, left_ + width_ - 3, y + 1, GetFont()->Color());
        return;
    }
    if (Text.empty()) return;
    TRect r = GetBoundsRect();
    r.left += textMarginLeft_;
    r.right -= textMarginRight_;
    r.top += textMarginTop_;
    static constexpr unsigned kPlace[] = {0,
                                          DT_CENTER,
                                          DT_RIGHT,
                                          DT_VCENTER,
                                          DT_CENTER | DT_VCENTER,
                                          DT_RIGHT | DT_VCENTER,
                                          DT_BOTTOM,
                                          DT_CENTER | DT_BOTTOM,
                                          DT_RIGHT | DT_BOTTOM};
    const unsigned format = DrawTextBiDiModeFlags(DT_SINGLELINE | DT_NOPREFIX | kPlace[textAlign_]);
    canvas.SetFont(font_.get());
    WideString text = Text;
    if (kind_ == skTitle)
        text = FormatStr(canvas.Handle(), Text, width_ - textMarginLeft_ - textMarginRight_);
    if (textEffect_ == TSeTextEffect::teShadow) {
        const TColor own = canvas.Font()->Color();
        canvas.Font()->SetColor(0x808080);
        TRect shadow = Moved(r, 1, 1);
        DrawText(canvas, text, shadow, format);
        canvas.Font()->SetColor(own);
    }
    DrawText(canvas, text, r, format);
}

// ---- regions ----

HRGN TSeSkinObject::CreateRegion() {
    if (kind_ == skRoundMask)
        return CreateRoundRectRgn(left_, top_, left_ + width_ + 1, top_ + height_ + 1, marginLeft_,
                                  marginTop_);
    return CreateRectRgnIndirect(GetBoundsRect());
}

HRGN TSeSkinObject::GetRegion() {
    if (kind_ == skTranparent || kind_ == skTranparentOnly || kind_ == skNoMask) return nullptr;
    if (width_ <= 0 || height_ <= 0) return nullptr;
    if (children_.empty() || drawIfOwner_ || !masked_) return CreateRegion();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (TSeSkinObject* child : children_) {
        if (!child->Visible) continue;
        if (HRGN part = child->GetRegion()) {
            CombineRgn(region, region, part, RGN_OR);
            DeleteObject(part);
        }
    }
    return region;
}

// ---- the "Objects" property ----

void TSeSkinObject::DefineProperties(TFiler& filer) {
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Objects", [this](TStream& data) { ReadData(data); }, [this](TStream& data) { WriteData(data); },
        true);
}

void TSeSkinObject::ReadData(TStream& data) {
    const uint32_t word = static_cast<uint32_t>(ReadInt32(data));
    const bool binary = (word & kBinaryChildren) == kBinaryChildren;
    const uint32_t count = binary ? (word & ~kBinaryChildren) : word;
    if (count > kMaxSkinObjectCount) throw EReadError("Too many skin objects");
    for (uint32_t i = 0; i < count; ++i) {
        if (binary) {
            LoadSkinObjectBinary(data, this);
        } else {
            LoadSkinObject(data, this);
        }
    }
    if (data.Position() != data.Size()) throw EReadError("Skin object children longer than their records");
}

void TSeSkinObject::WriteData(TStream& data) {
    WriteInt32(data, static_cast<int32_t>(static_cast<uint32_t>(children_.size()) | kBinaryChildren));
    for (TSeSkinObject* child : children_) SaveSkinObjectBinary(data, child);
}

// ---- registry and records ----------------------------------------------------

void RegisterSkinObject(TClass cls) { Registry().push_back(cls); }

const std::vector<TClass>& SkinObjectClasses() {
    static const bool registered = [] {
        for (TClass c :
             {TSeSkinObject::StaticClass(), TSeActiveObject::StaticClass(), TSeBitmapObject::StaticClass(),
              TSeActiveBitmap::StaticClass(), TSeSystemButton::StaticClass(), TSeButtonObject::StaticClass(),
              TSeTextObject::StaticClass(), TSeLinkSkinObject::StaticClass(),
              TSeBitmapSkinObject::StaticClass(), TSeFormBitmapSkinObject::StaticClass(),
              TSeSysButtonSkinObject::StaticClass(), TSeActiveSkinObject::StaticClass(),
              TSeColorButtonObject::StaticClass(), TSeBitmapBoxObject::StaticClass(),
              TSeActiveBitmapBoxObject::StaticClass(), TSeButtonBitmapBoxObject::StaticClass(),
              TSeRollPanelObject::StaticClass()}) {
            Registry().insert(Registry().end(), c);
        }
        return true;
    }();
    (void)registered;
    return Registry();
}

TClass GetSkinObjectClass(std::string_view name) {
    for (TClass c : SkinObjectClasses()) {
        if (c->ClassName() == name) return c;
    }
    return nullptr;
}

TClass FindSkinObjectClass(String name) {
    if (TClass c = GetSkinObjectClass(name)) return c;
    if (name.size() <= 3) return nullptr;
    name.replace(1, 2, "Se");
    if (TClass c = GetSkinObjectClass(name)) return c;
    name.replace(1, 2, "Tw");
    return GetSkinObjectClass(name);
}

void SaveSkinObjectBinary(TStream& stream, TSeSkinObject* object) {
    if (!object) return;
    TMemoryStream data;
    WriteObjectData(object, data);
    WriteString(stream, object->ClassName());
    WriteInt32(stream, static_cast<int32_t>(data.Size()));
    stream.WriteBuffer(data.Memory(), data.Size());
}

TSeSkinObject* LoadSkinObjectBinary(TStream& stream, TComponent* owner) {
    const String className = ReadString(stream);
    const int32_t size = ReadInt32(stream);
    if (size < 0 || size > kMaxSkinRecordBytes) throw EReadError("Skin object record of a bad size");
    const std::vector<uint8_t> bytes = ReadBoundedBytes(stream, size);
    TClass cls = FindSkinObjectClass(className);
    return cls ? ReadObjectData(cls, bytes, owner) : nullptr;
}

void SaveSkinObject(TStream& stream, TSeSkinObject* object) {
    if (!object) return;
    TMemoryStream data;
    WriteObjectData(object, data);
    data.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(data, text);
    WriteString(stream, object->ClassName());
    WriteString(stream, std::string_view(reinterpret_cast<const char*>(text.Memory()),
                                         static_cast<size_t>(text.Size())));
}

TSeSkinObject* LoadSkinObject(TStream& stream, TComponent* owner) {
    const String className = ReadString(stream);
    const String text = ReadString(stream);
    if (static_cast<int64_t>(text.size()) > kMaxSkinRecordBytes)
        throw EReadError("Skin object text too long");
    TClass cls = FindSkinObjectClass(className);
    if (!cls) return nullptr;
    TMemoryStream input;
    input.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    input.SetPosition(0);
    TMemoryStream data;
    ObjectTextToBinary(input, data);
    return ReadObjectData(cls, std::vector<uint8_t>(data.Memory(), data.Memory() + data.Size()), owner);
}

}  // namespace tarvel
