#include "map_writer.h"

#include <cstdio>

#include "text/decimal.h"
#include "text/utf.h"

namespace qv::import {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

class Record {
  public:
    Record& Text(std::u16string_view text) {
        text_ += text;
        text_ += u';';
        return *this;
    }
    Record& Number(std::int64_t value) { return Text(FormatDecimal(value)); }
    Record& TwoDigits(std::int32_t value) {
        std::u16string digits = FormatDecimal(value);
        if (value >= 0 && value < 10) {
            digits.insert(digits.begin(), u'0');
        }
        return Text(digits);
    }
    Record& Colour(qv::Colour value) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%06Xh", static_cast<unsigned>(value & 0xFFFFFF));
        return Text(std::u16string(digits, digits + std::char_traits<char>::length(digits)));
    }
    std::u16string End() {
        text_ += kLineEnd;
        return std::move(text_);
    }

  private:
    std::u16string text_;
};

std::u16string Line(std::u16string_view text) {
    return std::u16string(text) + std::u16string(kLineEnd);
}

}  // namespace

std::u16string WriteMapText(const DraftScheme& scheme) {
    std::u16string text = u"\uFEFF";
    text += Line(u"[NAME]");
    text += Record()
                .Text(scheme.name)
                .Number(static_cast<std::int64_t>(scheme.lines.size()))
                .Number(static_cast<std::int64_t>(scheme.transfers.size()))
                .Number(scheme.zoomFactor)
                .TwoDigits(scheme.labelMinZoom)
                .End();
    text += Line(u"[MAP]");
    text += Record()
                .Number(0)
                .Number(0)
                .Number(scheme.lineWidth)
                .Number(scheme.stationRadius)
                .Number(scheme.outlineWidth)
                .Colour(scheme.routeColour)
                .Number(scheme.labelFontHeight)
                .Colour(scheme.labelColour)
                .Number(scheme.labelHalo)
                .Number(scheme.stationStyle)
                .End();
    text += Line(u"[LINES]");
    for (const DraftLine& line : scheme.lines) {
        text += Record()
                    .Number(line.number)
                    .Text(line.name)
                    .Colour(line.colour)
                    .Number(line.isRing ? 1 : 0)
                    .Number(static_cast<std::int64_t>(line.points.size()))
                    .Number(line.waitTime)
                    .End();
    }
    text += Line(u"[STATION]");
    for (std::size_t l = 0; l < scheme.lines.size(); ++l) {
        const DraftLine& line = scheme.lines[l];
        for (std::size_t p = 0; p < line.points.size(); ++p) {
            const DraftPoint& point = line.points[p];
            Record record;
            record.Number(static_cast<std::int64_t>(l + 1))
                .Number(static_cast<std::int64_t>(p + 1))
                .Text(std::u16string(1, point.kind))
                .Text(point.name)
                .Number(point.x)
                .Number(point.y)
                .Number(point.runTime);
            if (!point.labelText.empty()) {
                record.Text(point.labelText)
                    .Number(point.labelX)
                    .Number(point.labelY)
                    .Number(point.labelAlign);
            }
            text += record.End();
        }
    }
    text += Line(u"[CROSS]");
    for (std::size_t i = 0; i < scheme.transfers.size(); ++i) {
        const Transfer& transfer = scheme.transfers[i];
        text += Record()
                    .Number(static_cast<std::int64_t>(i + 1))
                    .Number(transfer.x1)
                    .Number(transfer.y1)
                    .Number(transfer.x2)
                    .Number(transfer.y2)
                    .Number(transfer.time)
                    .End();
    }
    text += Line(u"[TABLETTERS]");
    text += Record().Number(static_cast<std::int64_t>(scheme.tabLetters.size())).End();
    for (const char16_t letter : scheme.tabLetters) {
        text += Line(std::u16string(1, letter));
    }
    return text;
}

std::string MapFileBytes(const std::u16string& text) {
    return EncodeUtf16Le(text);
}

}  // namespace qv::import
