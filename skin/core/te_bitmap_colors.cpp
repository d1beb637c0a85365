#include "skin/core/te_bitmap_colors.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace tarvel {

int RoundHalfEven(long double x) { return static_cast<int>(std::nearbyintl(x)); }

TteColor teColor(TColor color, uint8_t alpha) {
    return (FromRGB(ColorToRGB(color)) & 0x00FFFFFFu) | (static_cast<TteColor>(alpha) << 24);
}

TteColor teColor(int r, int g, int b, uint8_t alpha) {
    auto clamp = [](int v) { return static_cast<TteColor>(std::clamp(v, 0, 255)); };
    return (static_cast<TteColor>(alpha) << 24) | (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}

TColor teColor(const TteColorRec& rec) {
    return ToRGB((static_cast<TteColor>(rec.A) << 24) | (rec.R << 16) | (rec.G << 8) | rec.B);
}

uint16_t teColorToColor16(TteColor c) {
    return static_cast<uint16_t>(((RedOf(c) >> 3) << 11) + ((GreenOf(c) >> 2) << 5) + (BlueOf(c) >> 3));
}

uint16_t teColorToColor15(TteColor c) {
    return static_cast<uint16_t>(((RedOf(c) >> 3) << 10) + ((GreenOf(c) >> 3) << 5) + (BlueOf(c) >> 3));
}

uint16_t MulDiv16(uint16_t a, uint16_t b, uint16_t c) {
    if (c == 0) return 0xFFFF;
    return static_cast<uint16_t>(static_cast<uint32_t>(a) * b / c);
}

void RGBtoHSL(TteColor c, float& h, float& s, float& l) {
    const float r = static_cast<float>(RedOf(c)) / 255.0f;
    const float g = static_cast<float>(GreenOf(c)) / 255.0f;
    const float b = static_cast<float>(BlueOf(c)) / 255.0f;
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    l = (mx + mn) / 2.0f;
    if (mx == mn) {
        h = 0.0f;
        s = 0.0f;
        return;
    }
    const float d = mx - mn;
    s = l >= 0.5f ? d / (2.0f - mx - mn) : d / (mx + mn);
    if (mx == r)
        h = (g - b) / d;
    else if (mx != g)
        h = (r - g) / d + 4.0f;
    else
        h = (b - r) / d + 2.0f;
    h = h / 6.0f;
    if (h < 0.0f) h += 1.0f;
}

namespace {

// round(v * 255), ties to even. The product of a float and 255 is exact in
// double, so this rounds the very value RoundHalfEven would.
int Scaled255(float v) {
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(static_cast<double>(v) * 255.0));
#else
    return static_cast<int>(std::nearbyint(static_cast<double>(v) * 255.0));
#endif
}

int HueToChannel(float p, float q, float x) {
    x = x - std::floor(x);
    float v;
    if (6.0f * x < 1.0f)
        v = p + (q - p) * 6.0f * x;
    else if (2.0f * x < 1.0f)
        v = q;
    else if (3.0f * x < 2.0f)
        v = p + (q - p) * (2.0f / 3.0f - x) * 6.0f;
    else
        v = p;
    return Scaled255(v);
}

// A hue step out of 0..255 comes back in once: hues go round.
int WrapOnce(int v) {
    if (v >= 256) return v - 255;
    if (v < 0) return v + 255;
    return v;
}

}  // namespace

TteColor HSLtoRGB(float h, float s, float l) {
    if (s == 0.0f) {
        const int v = Scaled255(l);
        return teColor(v, v, v, 255);
    }
    const float q = l > 0.5f ? s + l - s * l : l * (s + 1.0f);
    const float p = 2.0f * l - q;
    return teColor(HueToChannel(p, q, h + 1.0f / 3.0f), HueToChannel(p, q, h),
                   HueToChannel(p, q, h - 1.0f / 3.0f), 255);
}

TteColor SetHue(TteColor c, int hue) {
    float h, s, l;
    RGBtoHSL(c, h, s, l);
    return HSLtoRGB(static_cast<float>(std::clamp(hue, 0, 255)) / 255.0f, s, l);
}

TteColor ChangeHue(TteColor c, int amount) {
    float h, s, l;
    RGBtoHSL(c, h, s, l);
    return HSLtoRGB(static_cast<float>(WrapOnce(amount + Scaled255(h))) / 255.0f, s, l);
}

TteColor ChangeSat(TteColor c, int amount) {
    float h, s, l;
    RGBtoHSL(c, h, s, l);
    return HSLtoRGB(h, static_cast<float>(std::clamp(amount + Scaled255(s), 0, 255)) / 255.0f, l);
}

TteColor ChangeBrightness(TteColor c, int amount) {
    return teColor(RedOf(c) + amount, GreenOf(c) + amount, BlueOf(c) + amount, 255);
}

TteColor ChangeColor(TteColor c, int dR, int dG, int dB, int dA) {
    return teColor(RedOf(c) + dR, GreenOf(c) + dG, BlueOf(c) + dB,
                   static_cast<uint8_t>((AlphaOf(c) + dA) & 0xFF));
}

TteColor ChangeColor(TteColor c, int d) { return ChangeColor(c, d, d, d, 0); }
TteColor SunkenColor(TteColor c, int dR, int dG, int dB, int dA) {
    return ChangeColor(c, -dR, -dG, -dB, -dA);
}
TteColor SunkenColor(TteColor c, int d) { return ChangeColor(c, -d); }
TteColor RaisedColor(TteColor c, int dR, int dG, int dB, int dA) { return ChangeColor(c, dR, dG, dB, dA); }
TteColor RaisedColor(TteColor c, int d) { return ChangeColor(c, d); }

TColor StdChangeColor(TColor color, int dR, int dG, int dB, int) {
    return ToRGB(ChangeColor(FromRGB(ColorToRGB(color)), dR, dG, dB, 0));
}

TColor StdChangeColor(TColor color, int d) { return StdChangeColor(color, d, d, d, 0); }

// ---------------------------------------------------------------------------
// Whole runs of pixels

namespace {

uint32_t RecolourOne(uint32_t p, TRecolour how, int amount) {
    if ((p >> 24) == 0) return p;
    TteColor c = 0;
    switch (how) {
        case TRecolour::Brightness: c = ChangeBrightness(p, amount); break;
        case TRecolour::Sat: c = ChangeSat(p, amount); break;
        case TRecolour::Hue: c = ChangeHue(p, amount); break;
        case TRecolour::SetHue: c = SetHue(p, amount); break;
    }
    return (c & 0x00FFFFFFu) | (p & 0xFF000000u);
}

#if defined(__SSE2__)

// Four pixels at a time through the same float operations, in the same
// order, as RGBtoHSL and HSLtoRGB do for one; a branch there is a select here.

__m128 Select(__m128 mask, __m128 yes, __m128 no) {
    return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}
__m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

__m128 ChannelOf(__m128i pixels, int shift) {
    const __m128i byte = _mm_and_si128(_mm_srli_epi32(pixels, shift), _mm_set1_epi32(0xFF));
    return _mm_div_ps(_mm_cvtepi32_ps(byte), _mm_set1_ps(255.0f));
}

__m128i Scaled255x4(__m128 v) {
    const __m128d k = _mm_set1_pd(255.0);
    const __m128i lo = _mm_cvtpd_epi32(_mm_mul_pd(_mm_cvtps_pd(v), k));
    const __m128i hi = _mm_cvtpd_epi32(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(v, v)), k));
    return _mm_unpacklo_epi64(lo, hi);
}

// The integer 0..255 as a float step of the circle: i / 255.0f.
__m128 Step255(__m128i i) { return _mm_div_ps(_mm_cvtepi32_ps(i), _mm_set1_ps(255.0f)); }

struct THsl4 {
    __m128 h, s, l;
};

THsl4 ToHsl4(__m128i pixels) {
    const __m128 r = ChannelOf(pixels, 16), g = ChannelOf(pixels, 8), b = ChannelOf(pixels, 0);
    const __m128 zero = _mm_setzero_ps(), two = _mm_set1_ps(2.0f);
    const __m128 mx = _mm_max_ps(_mm_max_ps(r, g), b), mn = _mm_min_ps(_mm_min_ps(r, g), b);
    const __m128 l = _mm_div_ps(_mm_add_ps(mx, mn), two);
    const __m128 d = _mm_sub_ps(mx, mn);
    const __m128 upper = _mm_cmpge_ps(l, _mm_set1_ps(0.5f));
    const __m128 s = _mm_div_ps(d, Select(upper, _mm_sub_ps(_mm_sub_ps(two, mx), mn), _mm_add_ps(mx, mn)));
    const __m128 redMax = _mm_cmpeq_ps(mx, r), greenMax = _mm_cmpeq_ps(mx, g);
    const __m128 rest = Select(greenMax, _mm_add_ps(_mm_div_ps(_mm_sub_ps(b, r), d), two),
                               _mm_add_ps(_mm_div_ps(_mm_sub_ps(r, g), d), _mm_set1_ps(4.0f)));
    __m128 h = _mm_div_ps(Select(redMax, _mm_div_ps(_mm_sub_ps(g, b), d), rest), _mm_set1_ps(6.0f));
    h = Select(_mm_cmplt_ps(h, zero), _mm_add_ps(h, _mm_set1_ps(1.0f)), h);
    const __m128 grey = _mm_cmpeq_ps(mx, mn);
    return {_mm_andnot_ps(grey, h), _mm_andnot_ps(grey, s), l};
}

__m128 Floor(__m128 x) {
    const __m128 t = _mm_cvtepi32_ps(_mm_cvttps_epi32(x));
    return _mm_sub_ps(t, _mm_and_ps(_mm_cmpgt_ps(t, x), _mm_set1_ps(1.0f)));
}

__m128i HueToChannel4(__m128 p, __m128 q, __m128 x) {
    x = _mm_sub_ps(x, Floor(x));
    const __m128 one = _mm_set1_ps(1.0f), six = _mm_set1_ps(6.0f);
    const __m128 qp = _mm_sub_ps(q, p);
    const __m128 rising = _mm_add_ps(p, _mm_mul_ps(_mm_mul_ps(qp, six), x));
    const __m128 falling =
        _mm_add_ps(p, _mm_mul_ps(_mm_mul_ps(qp, _mm_sub_ps(_mm_set1_ps(2.0f / 3.0f), x)), six));
    __m128 v = Select(_mm_cmplt_ps(_mm_mul_ps(_mm_set1_ps(3.0f), x), _mm_set1_ps(2.0f)), falling, p);
    v = Select(_mm_cmplt_ps(_mm_mul_ps(_mm_set1_ps(2.0f), x), one), q, v);
    v = Select(_mm_cmplt_ps(_mm_mul_ps(six, x), one), rising, v);
    return Scaled255x4(v);
}

// teColor's clamp of each channel to 0..255.
__m128i Clamp255(__m128i v) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v, v), zero);
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
}

// HSLtoRGB's colour bits.
__m128i FromHsl4(__m128 h, __m128 s, __m128 l) {
    const __m128 one = _mm_set1_ps(1.0f), third = _mm_set1_ps(1.0f / 3.0f);
    const __m128 q =
        Select(_mm_cmpgt_ps(l, _mm_set1_ps(0.5f)), _mm_sub_ps(_mm_add_ps(s, l), _mm_mul_ps(s, l)),
               _mm_mul_ps(l, _mm_add_ps(s, one)));
    const __m128 p = _mm_sub_ps(_mm_mul_ps(_mm_set1_ps(2.0f), l), q);
    const __m128i grey = _mm_castps_si128(_mm_cmpeq_ps(s, _mm_setzero_ps()));
    const __m128i v = Scaled255x4(l);
    const __m128i r = Select(grey, v, HueToChannel4(p, q, _mm_add_ps(h, third)));
    const __m128i g = Select(grey, v, HueToChannel4(p, q, h));
    const __m128i b = Select(grey, v, HueToChannel4(p, q, _mm_sub_ps(h, third)));
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(Clamp255(r), 16), _mm_slli_epi32(Clamp255(g), 8)),
                        Clamp255(b));
}

__m128i Recolour4(__m128i pixels, TRecolour how, int amount) {
    const __m128i amounts = _mm_set1_epi32(amount);
    const THsl4 hsl = ToHsl4(pixels);
    switch (how) {
        case TRecolour::Hue: {
            // WrapOnce: a step out of 0..255 comes back in once.
            __m128i k = _mm_add_epi32(amounts, Scaled255x4(hsl.h));
            const __m128i wrap = _mm_set1_epi32(255);
            k = Select(_mm_cmpgt_epi32(k, wrap), _mm_sub_epi32(k, wrap), k);
            k = Select(_mm_cmplt_epi32(k, _mm_setzero_si128()), _mm_add_epi32(k, wrap), k);
            return FromHsl4(Step255(k), hsl.s, hsl.l);
        }
        case TRecolour::SetHue:
            return FromHsl4(_mm_set1_ps(static_cast<float>(std::clamp(amount, 0, 255)) / 255.0f), hsl.s,
                            hsl.l);
        default: {
            const __m128 s = _mm_cvtepi32_ps(_mm_add_epi32(amounts, Scaled255x4(hsl.s)));
            const __m128 clamped = _mm_min_ps(_mm_max_ps(s, _mm_setzero_ps()), _mm_set1_ps(255.0f));
            return FromHsl4(hsl.h, _mm_div_ps(clamped, _mm_set1_ps(255.0f)), hsl.l);
        }
    }
}

// Brightness: each colour byte moved by amount, stopping at 0 and 255.
__m128i Brighten4(__m128i pixels, int amount) {
    const __m128i step =
        _mm_set1_epi32(static_cast<int>(0x010101u * static_cast<uint32_t>(std::min(std::abs(amount), 255))));
    return amount >= 0 ? _mm_adds_epu8(pixels, step) : _mm_subs_epu8(pixels, step);
}

int64_t RecolourVectors(uint32_t* pixels, int64_t count, TRecolour how, int amount) {
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int64_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(pixels + i);
        const __m128i p = _mm_loadu_si128(at);
        const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(p, alpha), _mm_setzero_si128());
        if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
        const __m128i colour =
            how == TRecolour::Brightness ? Brighten4(p, amount) : Recolour4(p, how, amount);
        const __m128i out = _mm_or_si128(_mm_andnot_si128(alpha, colour), _mm_and_si128(p, alpha));
        _mm_storeu_si128(at, Select(clear, p, out));
    }
    return i;
}

#else

int64_t RecolourVectors(uint32_t*, int64_t, TRecolour, int) { return 0; }

#endif

}  // namespace

void RecolourPixels(uint32_t* pixels, int64_t count, TRecolour how, int amount) {
    if (!pixels || count <= 0) return;
    for (int64_t i = RecolourVectors(pixels, count, how, amount); i < count; ++i)
        pixels[i] = RecolourOne(pixels[i], how, amount);
}

}  // namespace tarvel
