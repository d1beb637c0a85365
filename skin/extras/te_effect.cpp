#include "skin/extras/te_effect.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Timers.h"
#include "skin/controls/te_controls_transition.h"
#include "skin/core/te_bitmap_pixels.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extras/te_effect_list.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

TteProcList* ProcList = nullptr;

namespace {

constexpr int kTickMs = 20;
constexpr uint32_t kKeyColor = 0x7F007F;

const char* KindPrefix(TteProcKind kind) {
    switch (kind) {
        case pkFade: return "[ FADE ] - ";
        case pkSlide: return "[ SLIDE ] - ";
        case pkManual: return "[ MANUAL ] - ";
    }
    return "";
}

// One animation: what it draws with, and what it owns from start to stop.
struct TAnimationSlot {
    bool running = false;
    bool busy = false;
    bool reserved = false;
    float elapsed = 0;
    TteAnimationRec* animation = nullptr;
    TteBitmap* source = nullptr;
    TteBitmap* target = nullptr;
    TCanvas* canvas = nullptr;
    int x = 0;
    int y = 0;
    // Null for the bitmap animation.
    const TteProcItem* procedure = nullptr;
    // Taken from the record at the start: a change of the record while the
    // slot runs must not change what the slot frees or how it reads its buffers.
    TteRotation rotation = krNone;
    int resolution = 1;
    int tileCount = 1;
    int timeMs = 400;
    int columns = 0;
    int rows = 0;
    std::vector<uint8_t> mask;
    // The rotated mask of a fade, or the pattern of the bitmap animation.
    std::vector<uint8_t> rotated;
    std::vector<TteSlideCell> cells;
    std::unique_ptr<TteBitmap> work;

    bool Free() const { return !running && !reserved; }
    void Release() {
        running = false;
        busy = false;
        procedure = nullptr;
        mask = {};
        rotated = {};
        cells = {};
        work.reset();
    }
};

class TTransitionEngine;

struct TEngineState {
    std::vector<std::unique_ptr<TAnimationSlot>> slots;
    std::unique_ptr<TTimer> timer;
    std::unique_ptr<TStringList> effectList;
    std::unique_ptr<TteProcList> procs;
    std::unique_ptr<TTransitionEngine> service;
    std::mt19937 random{std::random_device{}()};
};

TEngineState* Engine = nullptr;

TEngineState& State() {
    if (!Engine) InitEffects();
    return *Engine;
}

TAnimationSlot* SlotAt(int index) {
    if (!Engine || index < 0 || index >= static_cast<int>(Engine->slots.size())) return nullptr;
    return Engine->slots[static_cast<size_t>(index)].get();
}

int FirstFreeSlot() {
    auto& slots = State().slots;
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i]->Free()) return static_cast<int>(i);
    slots.push_back(std::make_unique<TAnimationSlot>());
    return static_cast<int>(slots.size() - 1);
}

void UpdateTimer() {
    if (!Engine || !Engine->timer) return;
    const bool any =
        std::any_of(Engine->slots.begin(), Engine->slots.end(), [](const auto& s) { return s->running; });
    Engine->timer->SetEnabled(any);
}

bool HasPixels(const TteBitmap* b) { return b && !b->Empty() && b->Width() > 0 && b->Height() > 0; }

// The rotated grid read back into the mask, cell (x, y) of the mask from
// the procedure's own grid.
void UnrotateMask(TAnimationSlot& s) {
    const int cols = s.columns, rows = s.rows;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            int from = 0;
            switch (s.rotation) {
                case krRotate90: from = x * rows + (rows - 1 - y); break;
                case krRotate180: from = (rows - 1 - y) * cols + (cols - 1 - x); break;
                case krRotate270: from = (cols - 1 - x) * rows + y; break;
                case krNone: from = y * cols + x; break;
            }
            s.mask[static_cast<size_t>(y * cols + x)] = s.rotated[static_cast<size_t>(from)];
        }
}

// The mask as the target's alpha, tile by tile, then the target over the work.
void ApplyMask(TAnimationSlot& s) {
    TteBitmap& target = *s.target;
    const int w = s.resolution * s.columns, h = s.resolution * s.rows;
    for (int ty = 0; ty < s.tileCount; ++ty)
        for (int tx = 0; tx < s.tileCount; ++tx)
            StretchAlphaRect(target.Bits(), target.Width(), target.Height(), tx * w, ty * h, w, h, 0, 0,
                             s.columns, s.rows, s.mask.data());
    ClearAlphaFunc(target.Bits(), target.Width() * target.Height(), kKeyColor);
    target.AlphaBlend = true;
    target.Draw(*s.work, 0, 0);
}

void ApplyMaskEffect(TAnimationSlot& s, uint8_t progress) {
    auto proc = reinterpret_cast<TteFadeProc>(s.procedure->Proc);
    if (s.rotation == krNone) {
        std::fill(s.mask.begin(), s.mask.end(), 0);
        proc(s.mask.data(), s.columns, s.rows, progress);
    } else {
        std::fill(s.rotated.begin(), s.rotated.end(), 0);
        const bool quarter = s.rotation == krRotate90 || s.rotation == krRotate270;
        proc(s.rotated.data(), quarter ? s.rows : s.columns, quarter ? s.columns : s.rows, progress);
        UnrotateMask(s);
    }
    ApplyMask(s);
}

// Bright pattern cells open first; all are shut at 0 and open at 100.
void ApplyPatternEffect(TAnimationSlot& s, uint8_t progress) {
    const int cols = s.columns, rows = s.rows, lift = MulDiv(510, progress, 100) - 255;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            int from = 0;
            switch (s.rotation) {
                case krRotate90: from = x * rows + y; break;
                case krRotate180: from = (rows - 1 - y) * cols + (cols - 1 - x); break;
                case krRotate270: from = x * rows + (rows - 1 - y); break;
                case krNone: from = y * cols + x; break;
            }
            const int value = s.rotated[static_cast<size_t>(from)] + lift;
            s.mask[static_cast<size_t>(y * cols + x)] = static_cast<uint8_t>(std::clamp(value, 0, 255));
        }
    ApplyMask(s);
}

// The cell (i, j) of the picture's grid as the procedure saw it on its own,
// possibly turned, grid, with the source cell turned back.
TteSlideCell ReadCell(const TAnimationSlot& s, int i, int j) {
    const int cols = s.columns, rows = s.rows;
    TteSlideCell c{};
    switch (s.rotation) {
        case krNone: return s.cells[static_cast<size_t>(j * cols + i)];
        case krRotate90:
            c = s.cells[static_cast<size_t>((cols - 1 - i) * rows + j)];
            return {c.Alpha, static_cast<int16_t>(cols - 1 - c.SourceRow), c.SourceColumn};
        case krRotate180:
            c = s.cells[static_cast<size_t>((rows - 1 - j) * cols + (cols - 1 - i))];
            return {c.Alpha, static_cast<int16_t>(cols - 1 - c.SourceColumn),
                    static_cast<int16_t>(rows - 1 - c.SourceRow)};
        case krRotate270:
            c = s.cells[static_cast<size_t>(i * rows + (rows - 1 - j))];
            return {c.Alpha, c.SourceRow, static_cast<int16_t>(rows - 1 - c.SourceColumn)};
    }
    return c;
}

// Each cell shows the part of the new picture that lies in its source cell,
// within its own tile; neighbouring cells share their edge pixels.
void ApplySlideEffect(TAnimationSlot& s, uint8_t progress) {
    std::fill(s.cells.begin(), s.cells.end(), TteSlideCell{});
    const bool quarter = s.rotation == krRotate90 || s.rotation == krRotate270;
    reinterpret_cast<TteSlideProc>(s.procedure->Proc)(s.cells.data(), quarter ? s.rows : s.columns,
                                                      quarter ? s.columns : s.rows, progress);
    TteBitmap& target = *s.target;
    TteBitmap& work = *s.work;
    const int res = s.resolution;
    const int tileW = work.Width() / s.tileCount + 1, tileH = work.Height() / s.tileCount + 1;
    for (int ty = 0; ty < s.tileCount; ++ty)
        for (int tx = 0; tx < s.tileCount; ++tx) {
            const int ox = tx * tileW, oy = ty * tileH;
            for (int j = 0; j < s.rows; ++j)
                for (int i = 0; i < s.columns; ++i) {
                    const TteSlideCell c = ReadCell(s, i, j);
                    const auto alpha = static_cast<uint8_t>(c.Alpha & 0xFF);
                    if (alpha == 0) continue;
                    for (int v = 0; v <= res; ++v)
                        for (int u = 0; u <= res; ++u) {
                            const int dx = ox + res * i + u, dy = oy + res * j + v;
                            const int sx = ox + res * c.SourceColumn + u, sy = oy + res * c.SourceRow + v;
                            if (!target.Contains(dx, dy) || !target.Contains(sx, sy)) continue;
                            if (sx < ox || sy < oy || sx > ox + tileW || sy > oy + tileH) continue;
                            uint32_t& from = *target.GetPixelPtr(sx, sy);
                            if ((from >> 24) == 0 || !work.Contains(dx, dy)) continue;
                            uint32_t& to = *work.GetPixelPtr(dx, dy);
                            if (alpha == 255) {
                                to = from;
                            } else {
                                from = (from & 0xFFFFFF) | (uint32_t{alpha} << 24);
                                to = PixelAlphaBlendFunc(from, to);
                            }
                        }
                }
        }
    EMMS();
}

void ApplyManualEffect(TAnimationSlot& s, uint8_t progress) {
    ClearAlphaFunc(s.target->Bits(), s.target->Width() * s.target->Height(), kKeyColor);
    reinterpret_cast<TteManualProc>(s.procedure->Proc)(s.work.get(), s.target, s.animation, progress);
}

void StepSlot(int index) {
    TAnimationSlot* s = SlotAt(index);
    if (!s || !s->running || !s->source || !s->target || !s->work) return;
    s->elapsed += kTickMs;
    // A step that lets messages through must not run again inside itself.
    if (s->busy) return;
    s->busy = true;
    try {
        const double raw = std::nearbyint(s->elapsed / s->timeMs * 100.0);
        const auto progress = static_cast<uint8_t>(std::min(raw, 100.0));
        s->source->Draw(*s->work, 0, 0);
        if (!s->procedure)
            ApplyPatternEffect(*s, progress);
        else if (s->procedure->Kind == pkManual)
            ApplyManualEffect(*s, progress);
        else if (s->procedure->Kind == pkSlide)
            ApplySlideEffect(*s, progress);
        else
            ApplyMaskEffect(*s, progress);
        // A control's canvas takes its device context when asked.
        if (s->canvas)
            if (const HDC dc = s->canvas->Handle()) s->work->Draw(dc, s->x, s->y);
        s->busy = false;
        if (progress == 100) StopMultiAnimation(index, false);
    } catch (...) {
        s->busy = false;
        throw;
    }
}

// Every slot gains the time the stepping took, on the window system's clock.
void AnimationTick(TObject*) {
    if (!Engine) return;
    const uint32_t start = GetTickCount();
    const int count = static_cast<int>(Engine->slots.size());
    for (int i = 0; i < count; ++i) StepSlot(i);
    const auto spent = static_cast<float>(TicksSince(start, GetTickCount()));
    if (spent > 0)
        for (auto& s : Engine->slots) s->elapsed += spent;
}

// The record's picture shrunk to the grid (turned on its side for a quarter
// turn), its blue byte as the opening order of each cell. No picture: every
// cell opens together.
void BuildPattern(TAnimationSlot& s, TBitmap* picture) {
    const bool quarter = s.rotation == krRotate90 || s.rotation == krRotate270;
    const int w = quarter ? s.rows : s.columns, h = quarter ? s.columns : s.rows;
    s.rotated.assign(static_cast<size_t>(w) * h, 0);
    TteBitmap full;
    if (picture && !picture->Empty()) full.Assign(picture);
    if (HasPixels(&full))
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s.rotated[static_cast<size_t>(y * w + x)] =
                    static_cast<uint8_t>(full.GetPixel(x * full.Width() / w, y * full.Height() / h) & 0xFF);
    std::copy(s.rotated.begin(), s.rotated.end(), s.mask.begin());
}

const TteProcItem* ChooseProcedure(const String& effect) {
    const TteProcList& procs = *State().procs;
    if (SameText(effect, kRandomEffect)) {
        if (procs.Count() == 0) return nullptr;
        std::uniform_int_distribution<int> pick(0, procs.Count() - 1);
        return procs.GetProcs(procs.Items(pick(State().random))->Name);
    }
    return procs.GetProcs(effect);
}

// The engine as the controls see it.
class TTransitionEngine : public TteTransitions {
public:
    int ReserveIndex() override { return ::tarvel::ReserveIndex(); }
    void ReleaseReserved(int index) override { ::tarvel::ReleaseReserved(index); }
    int Start(TCanvas* canvas, int x, int y, TteBitmap* source, TteBitmap* target, const String& effect,
              int timeMs, int index) override {
        record_.SetEffect(effect);
        record_.SetTime(timeMs);
        const int slot = StartMultiAnimation(canvas, x, y, source, target, &record_, index);
        return IsAnimating(slot) ? slot : -1;
    }
    void Stop(int index) override { StopMultiAnimation(index, false); }

private:
    // Read only at the start: one record serves every control.
    TteAnimationRec record_;
};

}  // namespace

// ---- TteAnimationRec ------------------------------------------------------------------------

TteAnimationRec::TteAnimationRec(TComponent* owner)
    : TComponent(owner), bitmap_(std::make_unique<TBitmap>()) {}

TteAnimationRec::~TteAnimationRec() = default;

void TteAnimationRec::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TteAnimationRec*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    effect_ = other->effect_;
    time_ = other->time_;
    resolution_ = other->resolution_;
    tileCount_ = other->tileCount_;
    rotation_ = other->rotation_;
    enabled_ = other->enabled_;
    bitmap_->Assign(other->bitmap_.get());
}

void TteAnimationRec::SetTime(int value) { time_ = std::clamp(value, 50, 9000); }
void TteAnimationRec::SetResolution(int value) { resolution_ = std::clamp(value, 1, 10); }
void TteAnimationRec::SetTileCount(int value) { tileCount_ = std::clamp(value, 1, 20); }
void TteAnimationRec::SetBitmap(TBitmap* value) { bitmap_->Assign(value); }

// ---- registry -------------------------------------------------------------------------------

String TteProcItem::BareName() const {
    const size_t dash = Name.find('-');
    if (dash == String::npos) return Name;
    const size_t blank = Name.find(' ', dash);
    return blank == String::npos ? Name : Name.substr(blank + 1);
}

TteProcItem* TteProcList::GetProcs(const String& name) const {
    for (const auto& item : items_)
        if (SameText(item->Name, name)) return item.get();
    for (const auto& item : items_)
        if (SameText(item->BareName(), name)) return item.get();
    return nullptr;
}

void RegisterProc(const String& name, TteProcKind kind, void* proc) {
    TteProcList& procs = *State().procs;
    for (int i = 0; i < procs.Count(); ++i) {
        const TteProcItem* item = procs.Items(i);
        if (SameText(item->BareName(), name) || item->Proc == proc)
            throw EProcItemError("Effect procedute " + name + " already exists in list");
    }
    auto item = std::make_unique<TteProcItem>();
    item->Kind = kind;
    item->Proc = proc;
    item->Name = KindPrefix(kind) + name;
    procs.Add(std::move(item));
}

TStringList* GetEffectList() {
    TEngineState& engine = State();
    if (!engine.effectList) {
        engine.effectList = std::make_unique<TStringList>();
        engine.effectList->Add(kRandomEffect);
        engine.effectList->Add(kBitmapEffect);
        for (int i = 0; i < engine.procs->Count(); ++i) engine.effectList->Add(engine.procs->Items(i)->Name);
    }
    return engine.effectList.get();
}

String GetEffectListComma() { return GetEffectList()->CommaText(); }

// ---- slots ----------------------------------------------------------------------------------

int StartMultiAnimation(TCanvas* canvas, int x, int y, TteBitmap* source, TteBitmap* target,
                        TteAnimationRec* animation, int index) {
    if (index < -1) return -1;
    if (index == -1) index = FirstFreeSlot();
    TAnimationSlot* s = SlotAt(index);
    if (!s) return -1;
    StopMultiAnimation(index, false);
    s->animation = animation;
    s->source = source;
    s->target = target;
    if (!animation || !HasPixels(source) || !HasPixels(target)) return index;
    const bool pattern = SameText(animation->Effect(), kBitmapEffect);
    const TteProcItem* procedure = pattern ? nullptr : ChooseProcedure(animation->Effect());
    if (!pattern && (!procedure || !procedure->Proc)) return index;

    s->procedure = procedure;
    s->rotation = animation->Rotation();
    s->resolution = animation->Resolution();
    s->tileCount = animation->TileCount();
    s->timeMs = animation->Time();
    s->columns = source->Width() / s->resolution / s->tileCount + 1;
    s->rows = source->Height() / s->resolution / s->tileCount + 1;
    s->work = std::make_unique<TteBitmap>();
    s->work->SetSize(source->Width(), source->Height());
    const size_t cells = static_cast<size_t>(s->columns) * s->rows;
    if (pattern) {
        s->mask.assign(cells, 0);
        BuildPattern(*s, animation->Bitmap());
    } else if (procedure->Kind == pkFade) {
        s->mask.assign(cells, 0);
        if (s->rotation != krNone) s->rotated.assign(cells, 0);
    } else if (procedure->Kind == pkSlide) {
        s->cells.assign(cells, TteSlideCell{});
    }
    s->elapsed = 0.01f;
    s->running = true;
    s->busy = false;
    s->canvas = canvas;
    s->x = x;
    s->y = y;
    UpdateTimer();
    return index;
}

void StopMultiAnimation(int index, bool draw) {
    TAnimationSlot* s = SlotAt(index);
    if (!s || !s->running) return;
    if (draw && s->canvas && s->canvas->HandleAllocated() && s->work && s->target) {
        s->target->AlphaBlend = true;
        s->target->Draw(*s->work, 0, 0);
        s->work->Draw(s->canvas->Handle(), s->x, s->y);
    }
    s->Release();
    UpdateTimer();
}

bool IsAnimating(int index) {
    const TAnimationSlot* s = SlotAt(index);
    return s && s->running;
}

namespace {

// Stops the slot when a watched component goes: the caller's form may be
// closed while the loop below serves its messages.
class TAnimationWatch : public TComponent {
public:
    TAnimationWatch(std::initializer_list<TComponent*> watched, int slot) : TComponent(nullptr), slot_(slot) {
        for (TComponent* c : watched)
            if (c) {
                c->FreeNotification(this);
                watched_.push_back(c);
            }
    }
    ~TAnimationWatch() override {
        for (TComponent* c : watched_) c->RemoveFreeNotification(this);
    }
    bool Gone() const { return gone_; }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != TOperation::opRemove) return;
        const auto it = std::find(watched_.begin(), watched_.end(), component);
        if (it == watched_.end()) return;
        watched_.erase(it);
        gone_ = true;
        StopMultiAnimation(slot_, false);
    }

private:
    std::vector<TComponent*> watched_;
    int slot_;
    bool gone_ = false;
};

}  // namespace

bool ExecuteAnimation(TCanvas* canvas, int x, int y, TteBitmap* source, TteBitmap* target,
                      TteAnimationRec* animation) {
    if (!animation || !HasPixels(source) || !HasPixels(target)) return false;
    // Frames come from copies, so nothing the caller holds is read after it goes.
    TteBitmap heldSource, heldTarget;
    heldSource.Assign(source);
    heldTarget.Assign(target);
    TteAnimationRec heldRecord;
    heldRecord.Assign(animation);
    const int index = StartMultiAnimation(canvas, x, y, &heldSource, &heldTarget, &heldRecord, -1);
    if (!IsAnimating(index)) return false;
    TAnimationWatch watch({animation, animation->Owner()}, index);
    // Waits for the next message rather than spinning.
    while (IsAnimating(index) && !watch.Gone() && Application && !Application->Terminated())
        Application->HandleMessage();
    const bool ran = !IsAnimating(index) && !watch.Gone();
    StopMultiAnimation(index, false);
    return ran;
}

int ReserveIndex() {
    const int index = FirstFreeSlot();
    SlotAt(index)->reserved = true;
    return index;
}

void ReleaseReserved(int index) {
    if (TAnimationSlot* s = SlotAt(index)) s->reserved = false;
}

int SlotCount() { return Engine ? static_cast<int>(Engine->slots.size()) : 0; }

void StretchAlphaRect(uint32_t* dstBits, int dstWidth, int dstHeight, int dstX, int dstY, int dstW, int dstH,
                      int srcX, int srcY, int srcW, int srcH, const uint8_t* srcBits) {
    const TRect bounds{0, 0, dstWidth, dstHeight};
    const TRect src = Intersect(TRect{srcX, srcY, srcX + srcW, srcY + srcH}, bounds);
    const TRect dst{dstX, dstY, dstX + dstW, dstY + dstH};
    const TRect clipped = Intersect(dst, bounds);
    if (!dstBits || !srcBits || src.IsEmpty() || dst.IsEmpty() || clipped.IsEmpty()) return;
    const int64_t stepX = int64_t{srcW} * 65536 / dstW, stepY = int64_t{srcH} * 65536 / dstH;
    int64_t fy = MulDiv(srcH * (clipped.top - dstY), 65535, dstH);
    const int64_t startX = MulDiv(srcW * (clipped.left - dstX), 65535, dstW);
    for (int y = clipped.top; y < clipped.bottom; ++y, fy += stepY) {
        const uint8_t* row = srcBits + static_cast<int64_t>(srcY + (fy >> 16)) * srcW;
        uint32_t* out = dstBits + static_cast<int64_t>(y) * dstWidth;
        int64_t fx = startX;
        for (int x = clipped.left; x < clipped.right; ++x, fx += stepX)
            out[x] = (out[x] & 0xFFFFFF) | (uint32_t{row[srcX + (fx >> 16)]} << 24);
    }
}

// ---- start and end ------------------------------------------------------------------------

namespace {
// The skinned frames' first show, played by this engine.
void PlayShowAnimation(TCanvas* canvas, int x, int y, TteBitmap* background, TteBitmap* image,
                       TteShowAnimationRec* show) {
    TteAnimationRec rec;
    rec.SetEffect(show->EffectKind);
    rec.SetTime(show->Time);
    rec.SetResolution(show->Resolution);
    rec.SetTileCount(show->TileCount);
    rec.SetRotation(static_cast<TteRotation>(std::clamp(show->Rotation, 0, 3)));
    rec.SetEnabled(show->Enabled);
    ExecuteAnimation(canvas, x, y, background, image, &rec);
}
}  // namespace

void InitEffects() {
    if (Engine) return;
    Engine = new TEngineState();
    Engine->procs = std::make_unique<TteProcList>();
    ProcList = Engine->procs.get();
    RegisterClass(TteAnimationRec::StaticClass());
    Engine->timer = std::make_unique<TTimer>(nullptr);
    Engine->timer->SetEnabled(false);
    Engine->timer->SetInterval(kTickMs);
    Engine->timer->OnTimer = &AnimationTick;
    int builtIns = 0;
    for (const TteBuiltInEffect* e = BuiltInEffects(builtIns); builtIns-- > 0; ++e)
        RegisterProc(e->Name, e->Kind, e->Proc);
    GetEffectList();
    Engine->service = std::make_unique<TTransitionEngine>();
    SetTransitions(Engine->service.get());
    SetShowAnimation(&PlayShowAnimation);
}

void DoneEffects() {
    if (!Engine) return;
    if (Transitions() == Engine->service.get()) SetTransitions(nullptr);
    SetShowAnimation(nullptr);
    delete std::exchange(Engine, nullptr);
    ProcList = nullptr;
}

}  // namespace tarvel
