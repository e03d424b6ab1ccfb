#include "model/map_parser.h"

#include <vector>

#include "text/decimal.h"
#include "text/line_reader.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr std::size_t kMaxNameLength = 99;
constexpr std::size_t kMaxLabelLength = 49;

// A header ends a run of records when the line's first character is one of the header's own
// characters: any '[' or a capital of the header's name; record lines begin with a digit.
bool StartsHeader(std::u16string_view line, std::u16string_view header) {
    return !line.empty() && header.find(line.front()) != std::u16string_view::npos;
}

std::u16string Truncated(std::u16string_view text, std::size_t maxLength) {
    if (text.size() <= maxLength) {
        return std::u16string(text);
    }
    std::size_t length = maxLength;
    if (IsHighSurrogate(text[length - 1])) {
        --length;  // never keep half of a surrogate pair
    }
    return std::u16string(text.substr(0, length));
}

bool IsControlCharacter(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string CodeUnitName(char16_t c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string name = "U+";
    for (int shift = 12; shift >= 0; shift -= 4) {
        name += kDigits[(c >> shift) & 0xF];
    }
    return name;
}

// What makes a text unfit for a name: a control character (it would cut or forge the lines that
// show the name) or half of a surrogate pair (no character at all). Nothing when it is fit.
std::optional<std::string> UnfitCharacter(std::u16string_view text) {
    for (const char16_t c : text) {
        if (IsControlCharacter(c)) {
            return "a control character (" + CodeUnitName(c) + ")";
        }
    }
    if (const std::size_t half = FindUnpairedSurrogate(text); half != std::u16string_view::npos) {
        return "half of a surrogate pair (" + CodeUnitName(text[half]) + ")";
    }
    return std::nullopt;
}

// A field as a message quotes it: short, and with nothing in it that could upset a terminal.
std::string Quoted(std::u16string_view field) {
    constexpr std::size_t kMaxQuotedLength = 40;
    std::u16string shown;
    for (const char16_t c : Truncated(field, kMaxQuotedLength)) {
        if (IsControlCharacter(c)) {
            const std::string name = CodeUnitName(c);
            shown.append(u"<").append(name.begin(), name.end()).append(u">");
        } else {
            shown += c;
        }
    }
    return "'" + Utf16ToUtf8(shown) + (field.size() > kMaxQuotedLength ? "...'" : "'");
}

// Optional fields are read only while the rest of the record is long enough.
enum class OptionalRule : std::size_t { A = 2, B = 1, Label = 5 };

bool Permits(OptionalRule rule, std::u16string_view rest) {
    return rest.size() > static_cast<std::size_t>(rule);
}

class MapParser {
  public:
    MapParser(NetworkModel& model, std::u16string_view text) : model_(model), reader_(text) {}

    bool Parse();
    const MapError& Error() const { return error_; }

  private:
    bool ParseSchemeRecord(std::u16string_view record);
    bool ParseDrawingRecord(std::u16string_view record);
    bool ParseLineRecord(std::u16string_view record);
    bool ParsePointRecord(std::u16string_view record);
    bool ParseTransferRecord(std::u16string_view record);
    bool ParseTabLetters();
    bool CheckLinesHavePoints();

    bool Fail(std::string reason, int line);
    bool Fail(std::string reason) { return Fail(std::move(reason), reader_.LineNumber()); }
    // Every line up to the last tab letter must be present and non-empty.
    bool NextLine(std::u16string_view& line, const char* expected);
    bool Field(std::u16string_view& record, const char* name, std::u16string_view& field);
    bool Text(std::u16string_view& record, const char* name, std::size_t maxLength,
              std::u16string& out);
    bool Number(std::u16string_view& record, const char* name, std::int32_t& out);
    bool ColourValue(std::u16string_view& record, const char* name, Colour& out);
    // An optional number or colour without digits keeps its default, as it always has.
    bool LenientNumber(std::u16string_view& record, const char* name, std::int32_t& out);
    bool OptionalNumber(OptionalRule rule, std::u16string_view& record, const char* name,
                        std::int32_t& out);
    bool OptionalColour(OptionalRule rule, std::u16string_view& record, const char* name,
                        Colour& out);
    // Minutes are added up along a route: a negative time would make a longer trip look shorter.
    bool CheckMinutes(const char* name, std::int32_t minutes);

    NetworkModel& model_;
    MapTextReader reader_;
    MapError error_;
    const char* record_ = "";
    std::int32_t declaredLines_ = 0;
    std::int32_t declaredTransfers_ = 0;
    std::int32_t pointCount_ = 0;
    std::vector<int> lineRecordLines_;  // the file line of each line record, for messages
};

bool MapParser::Fail(std::string reason, int line) {
    error_.line = line;
    error_.reason = std::move(reason);
    return false;
}

bool MapParser::NextLine(std::u16string_view& line, const char* expected) {
    const std::optional<std::u16string_view> next = reader_.ReadLine();
    if (!next) {
        return Fail(std::string("the file ends before ") + expected, reader_.LineNumber() + 1);
    }
    if (next->empty()) {
        return Fail(std::string("empty line where ") + expected + " should be");
    }
    line = *next;
    return true;
}

bool MapParser::Field(std::u16string_view& record, const char* name, std::u16string_view& field) {
    const std::optional<std::u16string_view> taken = ReadField(record);
    if (!taken) {
        return Fail(std::string(record_) + ": " + name + ": missing (every field ends with ';')");
    }
    if (taken->empty()) {
        return Fail(std::string(record_) + ": " + name + ": empty field");
    }
    field = *taken;
    return true;
}

bool MapParser::Text(std::u16string_view& record, const char* name, std::size_t maxLength,
                     std::u16string& out) {
    std::u16string_view field;
    if (!Field(record, name, field)) {
        return false;
    }
    if (const std::optional<std::string> unfit = UnfitCharacter(field)) {
        return Fail(std::string(record_) + ": " + name + ": holds " + *unfit);
    }
    out = Truncated(field, maxLength);
    return true;
}

bool MapParser::Number(std::u16string_view& record, const char* name, std::int32_t& out) {
    std::u16string_view field;
    if (!Field(record, name, field)) {
        return false;
    }
    const std::optional<std::int32_t> value = ParseDecimal(field);
    if (!value) {
        return Fail(std::string(record_) + ": " + name + ": not a number: " + Quoted(field));
    }
    out = *value;
    return true;
}

bool MapParser::ColourValue(std::u16string_view& record, const char* name, Colour& out) {
    std::u16string_view field;
    if (!Field(record, name, field)) {
        return false;
    }
    const std::optional<std::uint32_t> value = ParseHex(field);
    if (!value) {
        return Fail(std::string(record_) + ": " + name + ": not a colour: " + Quoted(field));
    }
    out = *value;
    return true;
}

bool MapParser::LenientNumber(std::u16string_view& record, const char* name, std::int32_t& out) {
    std::u16string_view field;
    if (!Field(record, name, field)) {
        return false;
    }
    out = ParseDecimal(field).value_or(out);
    return true;
}

bool MapParser::OptionalNumber(OptionalRule rule, std::u16string_view& record, const char* name,
                               std::int32_t& out) {
    return !Permits(rule, record) || LenientNumber(record, name, out);
}

bool MapParser::OptionalColour(OptionalRule rule, std::u16string_view& record, const char* name,
                               Colour& out) {
    std::u16string_view field;
    if (!Permits(rule, record)) {
        return true;
    }
    if (!Field(record, name, field)) {
        return false;
    }
    out = ParseHex(field).value_or(out);
    return true;
}

bool MapParser::CheckMinutes(const char* name, std::int32_t minutes) {
    if (minutes < 0) {
        return Fail(std::string(record_) + ": " + name + ": " + std::to_string(minutes) +
                    " minutes: a time cannot be negative");
    }
    return true;
}

bool MapParser::Parse() {
    std::u16string_view line;
    if (!NextLine(line, "the header [NAME]")) {
        return false;
    }
    if (line != u"[NAME]") {
        return Fail("the first line is not [NAME]: an older format or not a map file");
    }
    if (!NextLine(line, "the scheme record") || !ParseSchemeRecord(line)) {
        return false;
    }
    if (!NextLine(line, "the header [MAP]") || !NextLine(line, "the drawing record") ||
        !ParseDrawingRecord(line)) {
        return false;
    }
    if (!NextLine(line, "the header [LINES]") || !NextLine(line, "a line record")) {
        return false;
    }
    do {
        if (!ParseLineRecord(line) || !NextLine(line, "the header [STATION]")) {
            return false;
        }
    } while (!StartsHeader(line, u"[STATION]"));

    if (!NextLine(line, "a point record")) {
        return false;
    }
    do {
        if (!ParsePointRecord(line) || !NextLine(line, "the header [CROSS]")) {
            return false;
        }
    } while (!StartsHeader(line, u"[CROSS]"));
    if (!CheckLinesHavePoints()) {
        return false;
    }

    // With no transfers declared, the line after [CROSS] is taken as the [TABLETTERS] header.
    if (declaredTransfers_ > 0) {
        if (!NextLine(line, "a transfer record")) {
            return false;
        }
        do {
            if (!ParseTransferRecord(line) || !NextLine(line, "the header [TABLETTERS]")) {
                return false;
            }
        } while (!StartsHeader(line, u"[TABLETTERS]"));
    } else if (!NextLine(line, "the header [TABLETTERS]")) {
        return false;
    }
    return ParseTabLetters();
}

bool MapParser::ParseSchemeRecord(std::u16string_view record) {
    record_ = "scheme record";
    if (!Text(record, "name", kMaxNameLength, model_.name) ||
        !Number(record, "line count", declaredLines_) ||
        !Number(record, "transfer count", declaredTransfers_)) {
        return false;
    }
    return OptionalNumber(OptionalRule::A, record, "zoom factor", model_.zoomFactor) &&
           OptionalNumber(OptionalRule::A, record, "label zoom", model_.labelMinZoom);
}

bool MapParser::ParseDrawingRecord(std::u16string_view record) {
    record_ = "drawing record";
    if (!Number(record, "origin x", model_.originX) ||
        !Number(record, "origin y", model_.originY) ||
        !Number(record, "line width", model_.lineWidth) ||
        !Number(record, "station radius", model_.stationRadius) ||
        !Number(record, "outline width", model_.outlineWidth) ||
        !ColourValue(record, "route colour", model_.routeColour)) {
        return false;
    }
    model_.viewX = model_.originX;
    model_.viewY = model_.originY;
    return OptionalNumber(OptionalRule::A, record, "label font height", model_.labelFontHeight) &&
           OptionalColour(OptionalRule::A, record, "label colour", model_.labelColour) &&
           OptionalNumber(OptionalRule::A, record, "label halo", model_.labelHalo) &&
           OptionalNumber(OptionalRule::B, record, "station style", model_.stationStyle);
}

bool MapParser::ParseLineRecord(std::u16string_view record) {
    record_ = "line record";
    if (model_.LineCount() >= declaredLines_) {
        return Fail("line record: more line records than the " + std::to_string(declaredLines_) +
                    " the scheme record declares");
    }
    std::int32_t number = 0;
    std::u16string name;
    Colour colour = 0;
    std::int32_t ring = 0;
    std::int32_t capacity = 0;
    std::int32_t waitTime = 0;
    if (!Number(record, "number", number) || !Text(record, "name", kMaxNameLength, name) ||
        !ColourValue(record, "colour", colour) || !Number(record, "ring", ring) ||
        !Number(record, "point count", capacity) ||
        !OptionalNumber(OptionalRule::B, record, "waiting time", waitTime) ||
        !CheckMinutes("waiting time", waitTime)) {
        return false;
    }
    const bool isRing = (ring & 0xFF) != 0;  // only the low byte was ever kept
    model_.AddLine(number, std::move(name), colour, isRing, capacity, waitTime);
    lineRecordLines_.push_back(reader_.LineNumber());
    return true;
}

bool MapParser::ParsePointRecord(std::u16string_view record) {
    record_ = "point record";
    std::int32_t position = 0;
    std::u16string_view ignored;
    if (!Number(record, "line position", position) || !Field(record, "field 2", ignored)) {
        return false;
    }
    if (position < 1 || position > model_.LineCount()) {
        return Fail("point record: line position " + std::to_string(position) + ", the map has " +
                    std::to_string(model_.LineCount()) + " lines");
    }
    if (record.size() < 2 || record[1] != u';') {
        return Fail("point record: kind: must be one character followed by ';'");
    }
    Station point;
    // Only the low byte of the kind letter was ever kept, sign-extended.
    point.kind = static_cast<std::int16_t>(static_cast<std::int8_t>(record[0] & 0xFF));
    record.remove_prefix(2);
    if (!Text(record, "name", kMaxNameLength, point.name) || !Number(record, "x", point.x) ||
        !Number(record, "y", point.y) || !Number(record, "run time", point.runTime) ||
        !CheckMinutes("run time", point.runTime)) {
        return false;
    }
    if (Permits(OptionalRule::Label, record) &&
        (!Text(record, "label", kMaxLabelLength, point.labelText) ||
         !LenientNumber(record, "label x", point.labelX) ||
         !LenientNumber(record, "label y", point.labelY))) {
        return false;
    }
    if (!OptionalNumber(OptionalRule::B, record, "label alignment", point.labelAlign)) {
        return false;
    }
    if (pointCount_ >= kMaxMapPoints) {
        return Fail("point record: more than " + std::to_string(kMaxMapPoints) +
                    " points, more than the format's 16-bit route entries can name");
    }
    Line& line = *model_.Lines()[static_cast<std::size_t>(position - 1)];
    if (line.StationCount() >= line.capacity) {
        return Fail("point record: line " + std::to_string(position) + " declares " +
                    std::to_string(line.capacity) + " points and has more");
    }
    line.AddStation(std::move(point));
    ++pointCount_;
    return true;
}

bool MapParser::CheckLinesHavePoints() {
    for (std::size_t i = 0; i < model_.Lines().size(); ++i) {
        if (model_.Lines()[i]->StationCount() < 2) {
            return Fail("line record: line " + std::to_string(i + 1) + " has fewer than two points",
                        lineRecordLines_[i]);
        }
    }
    return true;
}

bool MapParser::ParseTransferRecord(std::u16string_view record) {
    record_ = "transfer record";
    if (model_.TransferCount() >= declaredTransfers_) {
        return Fail("transfer record: more transfer records than the " +
                    std::to_string(declaredTransfers_) + " the scheme record declares");
    }
    Transfer transfer;
    std::int32_t ignored = 0;
    if (!Number(record, "number", ignored) || !Number(record, "x1", transfer.x1) ||
        !Number(record, "y1", transfer.y1) || !Number(record, "x2", transfer.x2) ||
        !Number(record, "y2", transfer.y2) || !Number(record, "time", transfer.time) ||
        !CheckMinutes("time", transfer.time)) {
        return false;
    }
    model_.transfers.push_back(transfer);
    return true;
}

bool MapParser::ParseTabLetters() {
    record_ = "tab letters";
    std::u16string_view record;
    std::int32_t count = 0;
    if (!NextLine(record, "the tab letter count") || !Number(record, "count", count)) {
        return false;
    }
    if (count < 0 || count > kMaxTabLetters) {
        return Fail("tab letters: count " + std::to_string(count) + ", at most " +
                    std::to_string(kMaxTabLetters) + " allowed");
    }
    for (std::int32_t i = 0; i < count; ++i) {
        std::u16string_view letterLine;
        if (!NextLine(letterLine, "a tab letter")) {
            return false;
        }
        // A letter is one code unit, so half of a pair is all it could hold of a character
        // beyond the first plane.
        const char16_t letter = letterLine.front();
        if (IsControlCharacter(letter) || IsHighSurrogate(letter) || IsLowSurrogate(letter)) {
            return Fail("tab letters: the letter is " + CodeUnitName(letter) +
                        ", a control character or half of a surrogate pair");
        }
        model_.tabLetters += letter;
    }
    return true;
}

}  // namespace

std::optional<std::u16string_view> MapTextReader::ReadLine() {
    const std::optional<std::u16string_view> line = TakeLine(rest_);
    if (line) {
        ++lineNumber_;
    }
    return line;
}

std::optional<std::u16string_view> ReadField(std::u16string_view& line) {
    const std::size_t end = line.find(u';');
    if (end == std::u16string_view::npos) {
        return std::nullopt;
    }
    std::u16string_view field = line.substr(0, end);
    line.remove_prefix(end + 1);
    const std::size_t start = field.find_first_not_of(u' ');
    return start == std::u16string_view::npos ? std::u16string_view() : field.substr(start);
}

int ParseMapText(NetworkModel& model, std::u16string_view text, MapError* error) {
    MapParser parser(model, text);
    if (parser.Parse()) {
        return 0;
    }
    if (error) {
        *error = parser.Error();
    }
    return -1;
}

}  // namespace qv
