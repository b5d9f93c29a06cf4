#include "sheet/scene.h"

#include "runtime/chars.h"

#if defined(__EMSCRIPTEN__)
#include "sheet/gbk.h"
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace sheet {
namespace {

    /// Chinese text goes out as GBK bytes under code page ANSI_936, which R12 readers display
    /// with a Chinese big font; a character GBK lacks goes out as a \U+XXXX escape. English text
    /// goes out as ASCII under ANSI_1252, every other character escaped.
    class Gbk
    {
    public:
#if defined(__EMSCRIPTEN__)
        explicit Gbk(bool ascii)
            : m_ascii(ascii)
        {
        }
#else
        explicit Gbk(bool ascii)
            : m_ascii(ascii)
            , m_iconv(iconv_open("GBK", "UTF-8"))
        {
        }
        ~Gbk()
        {
            if (open())
                iconv_close(m_iconv);
        }
        Gbk(const Gbk &) = delete;
        Gbk &operator=(const Gbk &) = delete;
#endif

        std::string operator()(const std::string &utf8)
        {
            std::string out;
            for (std::size_t i = 0; i < utf8.size();) {
                const auto lead = static_cast<unsigned char>(utf8[i]);
                const std::size_t length = lead < 0x80 ? 1
                    : lead >= 0xf0                     ? 4
                    : lead >= 0xe0                     ? 3
                                                       : 2;
                const std::string one = utf8.substr(i, length);
                i += length;
                if (length == 1) {
                    // A group value is one line: control characters would break the file.
                    out += lead < 0x20 || lead == 0x7f ? ' ' : static_cast<char>(lead);
                    continue;
                }
                if (m_ascii || !convert(one, out))
                    out += escape(one);
            }
            return out;
        }

    private:
#if defined(__EMSCRIPTEN__)
        /// One character by the table made from iconv, which takes only well-formed UTF-8.
        static bool convert(const std::string &one, std::string &out)
        {
            for (std::size_t k = 1; k < one.size(); ++k)
                if ((static_cast<unsigned char>(one[k]) & 0xc0) != 0x80)
                    return false;
            const char32_t code = codeOf(one);
            const bool shortest = (one.size() == 2 && code >= 0x80)
                || (one.size() == 3 && code >= 0x800 && !(code >= 0xd800 && code <= 0xdfff));
            const std::uint16_t bytes = shortest ? gbkOf(code) : 0;
            if (bytes == 0)
                return false;
            if (bytes > 0xff)
                out += static_cast<char>(bytes >> 8);
            out += static_cast<char>(bytes & 0xff);
            return true;
        }
#else
        bool convert(const std::string &one, std::string &out)
        {
            if (!open())
                return false;
            std::array<char, 8> buffer {};
            std::string in = one;
            char *from = in.data();
            std::size_t fromLeft = in.size();
            char *to = buffer.data();
            std::size_t toLeft = buffer.size();
            iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
            if (iconv(m_iconv, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1))
                return false;
            out.append(buffer.data(), to);
            return true;
        }
#endif

        /// The code point of one UTF-8 sequence of 1 to 4 bytes, its lead's length bits dropped.
        static char32_t codeOf(const std::string &one)
        {
            const auto byte = [&one](std::size_t k) {
                return static_cast<char32_t>(static_cast<unsigned char>(one[k]) & 0x3f);
            };
            char32_t code = static_cast<unsigned char>(one[0]);
            if (one.size() == 2)
                code = (code & 0x1f) << 6 | byte(1);
            else if (one.size() == 3)
                code = (code & 0x0f) << 12 | byte(1) << 6 | byte(2);
            else if (one.size() == 4)
                code = (code & 0x07) << 18 | byte(1) << 12 | byte(2) << 6 | byte(3);
            return code;
        }

        static std::string escape(const std::string &one)
        {
            char text[16];
            std::snprintf(text, sizeof text, "\\U+%04X", static_cast<unsigned>(codeOf(one)));
            return text;
        }

        bool m_ascii;
#if !defined(__EMSCRIPTEN__)
        /// iconv_open() says it failed with (iconv_t)-1.
        bool open() const
        {
            return reinterpret_cast<std::intptr_t>(m_iconv) != -1;
        }

        iconv_t m_iconv;
#endif
    };

    /// The shortest fixed-point text that reads back as the same double: every tube centre
    /// exactly as the tube list gives it, never in exponent form.
    std::string number(double value)
    {
        if (value == 0)
            return "0.0";
        std::string text = runtime::fixedText(value);
        if (text.find('.') == std::string::npos)
            text += ".0";
        return text;
    }

    class Writer
    {
    public:
        void group(int code, const std::string &value)
        {
            char prefix[8];
            std::snprintf(prefix, sizeof prefix, "%3d\n", code);
            m_out += prefix;
            m_out += value;
            m_out += '\n';
        }
        void group(int code, int value) { group(code, std::to_string(value)); }
        void real(int code, double value) { group(code, number(value)); }
        void point(int base, double x, double y)
        {
            real(base, x);
            real(base + 10, y);
            real(base + 20, 0);
        }
        void entity(const char *type, const std::string &layer, bool dashed)
        {
            group(0, type);
            group(8, layer);
            if (dashed)
                group(6, "DASHED");
        }
        std::string take() { return std::move(m_out); }

    private:
        std::string m_out;
    };

    void header(Writer &w, double half, bool ascii)
    {
        w.group(0, "SECTION");
        w.group(2, "HEADER");
        w.group(9, "$ACADVER");
        w.group(1, "AC1009");
        w.group(9, "$DWGCODEPAGE");
        w.group(3, ascii ? "ANSI_1252" : "ANSI_936");
        w.group(9, "$MEASUREMENT");
        w.group(70, 1);
        w.group(9, "$INSBASE");
        w.point(10, 0, 0);
        for (const char *name : { "$EXTMIN", "$LIMMIN" }) {
            w.group(9, name);
            w.point(10, -half, -half);
        }
        for (const char *name : { "$EXTMAX", "$LIMMAX" }) {
            w.group(9, name);
            w.point(10, half, half);
        }
        w.group(0, "ENDSEC");
    }

    void tables(Writer &w, const Scene &scene, Gbk &gbk, double dash)
    {
        w.group(0, "SECTION");
        w.group(2, "TABLES");

        w.group(0, "TABLE");
        w.group(2, "LTYPE");
        w.group(70, 2);
        w.group(0, "LTYPE");
        w.group(2, "CONTINUOUS");
        w.group(70, 0);
        w.group(3, "Solid line");
        w.group(72, 65);
        w.group(73, 0);
        w.real(40, 0);
        w.group(0, "LTYPE");
        w.group(2, "DASHED");
        w.group(70, 0);
        w.group(3, "__ __ __ __");
        w.group(72, 65);
        w.group(73, 2);
        w.real(40, 2 * dash);
        w.real(49, dash);
        w.real(49, -dash);
        w.group(0, "ENDTAB");

        w.group(0, "TABLE");
        w.group(2, "LAYER");
        w.group(70, static_cast<int>(scene.layers.size()) + 1);
        const auto layer = [&w](const std::string &name, int aci) {
            w.group(0, "LAYER");
            w.group(2, name);
            w.group(70, 0);
            w.group(62, aci);
            w.group(6, "CONTINUOUS");
        };
        // Layer 0 exists in every drawing; strict readers expect to find it.
        layer("0", 7);
        for (const Layer &one : scene.layers)
            layer(gbk(one.name), one.aci);
        w.group(0, "ENDTAB");

        // txt.shx draws the digits; gbcbig.shx is the big font that draws GBK text.
        w.group(0, "TABLE");
        w.group(2, "STYLE");
        w.group(70, 1);
        w.group(0, "STYLE");
        w.group(2, "STANDARD");
        w.group(70, 0);
        w.real(40, 0);
        w.real(41, 1);
        w.real(50, 0);
        w.group(71, 0);
        w.real(42, 2.5);
        w.group(3, "txt");
        w.group(4, "gbcbig.shx");
        w.group(0, "ENDTAB");

        w.group(0, "ENDSEC");
    }

    void text(Writer &w, const std::string &layer, double x, double y, double height,
        const std::string &value, bool centred)
    {
        w.entity("TEXT", layer, false);
        w.point(10, x, y);
        w.real(40, height);
        w.group(1, value);
        w.group(7, "STANDARD");
        if (centred) {
            w.group(72, 1);
            w.point(11, x, y);
            w.group(73, 2);
        }
    }

} // namespace

std::string dxf(const Scene &scene)
{
    Gbk gbk(scene.asciiText);
    std::vector<std::string> layerNames;
    for (const Layer &layer : scene.layers)
        layerNames.push_back(gbk(layer.name));

    const double extent = scene.extent > 0 ? scene.extent : 1;
    const double textHeight = extent / 70;
    const std::size_t textLines = scene.caption.size() + scene.legend.size();
    // The caption stands above the sheet, its last line a text line's height clear of it.
    const double top = extent / 2 + textHeight * (1.6 * static_cast<double>(textLines) + 1);

    Writer w;
    header(w, std::max(extent / 2, top), scene.asciiText);
    tables(w, scene, gbk, extent / 200);

    w.group(0, "SECTION");
    w.group(2, "BLOCKS");
    w.group(0, "ENDSEC");

    w.group(0, "SECTION");
    w.group(2, "ENTITIES");
    for (const Circle &circle : scene.circles) {
        w.entity("CIRCLE", layerNames[circle.layer], circle.dashed);
        w.point(10, circle.x, circle.y);
        w.real(40, circle.diameter / 2);
    }
    for (const Line &line : scene.lines) {
        w.entity("LINE", layerNames[line.layer], line.dashed);
        w.point(10, line.x1, line.y1);
        w.point(11, line.x2, line.y2);
    }
    for (const Label &label : scene.labels)
        text(w, layerNames[label.layer], label.x, label.y, label.height, gbk(label.text), true);
    double y = top;
    const std::string &textLayer = layerNames[scene.textLayer];
    for (const std::string &line : scene.caption) {
        y -= 1.6 * textHeight;
        text(w, textLayer, -extent / 2, y, textHeight, gbk(line), false);
    }
    for (const LegendEntry &entry : scene.legend) {
        y -= 1.6 * textHeight;
        // The entry's own layer carries its colour, as the swatch does in a picture.
        text(w, layerNames[entry.layer], -extent / 2, y, textHeight, gbk(entry.text), false);
    }
    w.group(0, "ENDSEC");
    w.group(0, "EOF");
    return w.take();
}

} // namespace sheet
