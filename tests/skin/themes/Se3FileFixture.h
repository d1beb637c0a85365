#pragma once
// A small skin-file writer of its own, byte by byte, so that the reader is
// checked against the format rather than against our writer.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarvel::testing {

class SkinBytes {
public:
    SkinBytes& Raw(std::initializer_list<uint8_t> bytes) {
        data.insert(data.end(), bytes);
        return *this;
    }
    SkinBytes& Text(const std::string& s) {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    SkinBytes& I32(uint32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    SkinBytes& I16(uint16_t v) { return Raw({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}); }
    SkinBytes& Lps(const std::string& s) { return I32(static_cast<uint32_t>(s.size())).Text(s); }
    SkinBytes& Ss(const std::string& s) {
        data.push_back(static_cast<uint8_t>(s.size()));
        return Text(s);
    }
    SkinBytes& Bytes(const std::vector<uint8_t>& b) {
        data.insert(data.end(), b.begin(), b.end());
        return *this;
    }
    // An image: name, width, height, pixels all of one colour.
    SkinBytes& Image(const std::string& name, int w, int h, uint32_t pixel) {
        Lps(name).I32(static_cast<uint32_t>(w)).I32(static_cast<uint32_t>(h));
        for (int i = 0; i < w * h; ++i) I32(pixel);
        return *this;
    }
    SkinBytes& Strings() { return Lps("Fixture").Lps("1.0").Lps("").Lps("").Lps(""); }
    // A binary record of a childless object with its properties as given.
    SkinBytes& Record(const std::string& cls, const std::string& name, const SkinBytes& props) {
        SkinBytes body;
        body.Text("TPF0").Ss(cls).Ss(name).Bytes(props.data);
        body.Ss("Objects").Raw({0x0A}).I32(4).I32(0x000F0000).Raw({0, 0});
        return Lps(cls).I32(static_cast<uint32_t>(body.data.size())).Bytes(body.data);
    }

    std::vector<uint8_t> data;
};

inline std::vector<uint8_t> Deflate(const std::vector<uint8_t>& body, int level = Z_DEFAULT_COMPRESSION) {
    uLongf size = compressBound(static_cast<uLong>(body.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, body.data(), static_cast<uLong>(body.size()), level);
    out.resize(size);
    return out;
}

// "_MCT\0QVLZ" and the body deflated.
inline std::vector<uint8_t> MaximumFile(const std::vector<uint8_t>& body) {
    SkinBytes file;
    file.Text("_MCT").Raw({0}).Text("QVLZ").Bytes(Deflate(body));
    return file.data;
}

}  // namespace tarvel::testing
