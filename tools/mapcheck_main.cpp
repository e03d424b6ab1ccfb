// quorvane-mapcheck [--json] [--] FILE...: loads each map file and tells what it holds or why it
// was refused, one line per file. Exit 0 when every file loaded, 1 otherwise, 2 for bad arguments.

#include <cstdio>
#include <string>

#include "command_line.h"
#include "json_writer.h"
#include "map_argument.h"
#include "text/printable.h"
#include "text/utf.h"

namespace {

using qv::JsonWriter;
using qv::NetworkModel;
using qv::Printable;
using qv::Utf16ToUtf8;
using qv::tools::CommandLine;

std::int32_t CountStations(const NetworkModel& model) {
    std::int32_t stations = 0;
    for (const qv::Station* point : model.Stations()) {
        stations += point->kind == qv::kStationKind || point->kind == qv::kForbiddenKind;
    }
    return stations;
}

std::string KindText(std::int16_t kind) {
    return kind >= 0x20 && kind < 0x7F ? std::string(1, static_cast<char>(kind))
                                       : std::to_string(kind);
}

std::string Summary(const std::string& file, const NetworkModel& model) {
    return Printable(file) + ": ok: \"" + Printable(Utf16ToUtf8(model.name)) + "\", " +
           std::to_string(model.LineCount()) + " lines, " + std::to_string(model.StationCount()) +
           " points (" + std::to_string(CountStations(model)) + " stations), " +
           std::to_string(model.TransferCount()) + " transfers, " +
           std::to_string(model.tabLetters.size()) + " tab letters, zoom " +
           std::to_string(model.zoomFactor);
}

void WriteLines(JsonWriter& json, const NetworkModel& model) {
    json.Key("lines").BeginArray();
    for (const auto& line : model.Lines()) {
        json.BeginObject()
            .Member("number", std::int64_t{line->number})
            .Member("name", Utf16ToUtf8(line->name))
            .Member("colour", std::int64_t{line->colour})
            .Member("isRing", line->isRing)
            .Member("capacity", std::int64_t{line->capacity})
            .Member("waitTime", std::int64_t{line->waitTime})
            .Member("firstStationIndex", std::int64_t{line->firstStationIndex})
            .Member("stationCount", std::int64_t{line->StationCount()})
            .Member("lineWidth", std::int64_t{line->lineWidth})
            .Member("stationRadius", std::int64_t{line->stationRadius})
            .Member("outlineWidth", std::int64_t{line->outlineWidth})
            .EndObject();
    }
    json.EndArray();
}

void WritePoints(JsonWriter& json, const NetworkModel& model) {
    json.Key("points").BeginArray();
    std::int64_t position = 0;
    for (const auto& line : model.Lines()) {
        ++position;
        for (const auto& point : line->stations) {
            json.BeginObject()
                .Member("index", std::int64_t{point->index})
                .Member("line", position)
                .Member("kind", KindText(point->kind))
                .Member("name", Utf16ToUtf8(point->name))
                .Member("x", std::int64_t{point->x})
                .Member("y", std::int64_t{point->y})
                .Member("runTime", std::int64_t{point->runTime})
                .Member("labelText", Utf16ToUtf8(point->labelText))
                .Member("labelX", std::int64_t{point->labelX})
                .Member("labelY", std::int64_t{point->labelY})
                .Member("labelAlign", std::int64_t{point->labelAlign})
                .EndObject();
        }
    }
    json.EndArray();
}

void WriteTransfersAndLinks(JsonWriter& json, const NetworkModel& model) {
    json.Key("transfers").BeginArray();
    for (const qv::Transfer& transfer : model.transfers) {
        json.BeginObject()
            .Member("x1", std::int64_t{transfer.x1})
            .Member("y1", std::int64_t{transfer.y1})
            .Member("x2", std::int64_t{transfer.x2})
            .Member("y2", std::int64_t{transfer.y2})
            .Member("time", std::int64_t{transfer.time})
            .EndObject();
    }
    json.EndArray();
    json.Member("tabLetters", Utf16ToUtf8(model.tabLetters));
    json.Key("adjacency").BeginArray();
    for (std::int32_t point = 0; point < model.StationCount(); ++point) {
        json.BeginArray();
        for (const std::int32_t neighbour : model.StationLinks().Neighbours(point)) {
            json.Value(std::int64_t{neighbour});
        }
        json.EndArray();
    }
    json.EndArray();
}

void WriteModel(JsonWriter& json, const std::string& file, const NetworkModel& model) {
    json.BeginObject()
        .Member("file", Printable(file))
        .Member("name", Utf16ToUtf8(model.name))
        .Member("zoomFactor", std::int64_t{model.zoomFactor})
        .Member("labelMinZoom", std::int64_t{model.labelMinZoom})
        .Member("originX", std::int64_t{model.originX})
        .Member("originY", std::int64_t{model.originY})
        .Member("lineWidth", std::int64_t{model.lineWidth})
        .Member("stationRadius", std::int64_t{model.stationRadius})
        .Member("outlineWidth", std::int64_t{model.outlineWidth})
        .Member("routeColour", std::int64_t{model.routeColour})
        .Member("labelFontHeight", std::int64_t{model.labelFontHeight})
        .Member("labelColour", std::int64_t{model.labelColour})
        .Member("labelHalo", std::int64_t{model.labelHalo})
        .Member("stationStyle", std::int64_t{model.stationStyle});
    WriteLines(json, model);
    WritePoints(json, model);
    WriteTransfersAndLinks(json, model);
    json.EndObject();
}

void PrintError(const std::string& file, const qv::MapError& error, bool asJson) {
    if (asJson) {
        JsonWriter json(stdout);
        json.BeginObject()
            .Member("file", Printable(file))
            .Member("error", error.reason)
            .Member("line", std::int64_t{error.line})
            .EndObject()
            .EndLine();
        return;
    }
    std::printf("%s\n", qv::tools::MapErrorLine(file, error).c_str());
}

// Loads every file and prints one line for each; 0 when all loaded, 1 otherwise.
int CheckMaps(const CommandLine& line) {
    const bool asJson = line.Has("--json");
    if (line.Plain().empty()) {
        throw qv::tools::UsageError("no map file given");
    }
    int status = 0;
    for (const std::string& file : line.Plain()) {
        NetworkModel model;
        qv::MapError error;
        if (qv::tools::LoadMapArgument(model, file, qv::Settings{}, error) != 0) {
            PrintError(file, error, asJson);
            status = 1;
            continue;
        }
        if (asJson) {
            JsonWriter json(stdout);
            WriteModel(json, file, model);
            json.EndLine();
        } else {
            std::printf("%s\n", Summary(file, model).c_str());
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    static constexpr qv::tools::OptionRule kOptions[] = {{"--json", 0}};
    static constexpr qv::tools::ToolSyntax kSyntax{
        "quorvane-mapcheck",
        "Usage: quorvane-mapcheck [--json] [--] FILE...\n"
        "Loads each metro map file and prints one line a file: what it holds, or the line and\n"
        "reason it was refused. --json writes the whole loaded network as one JSON object a file.\n"
        "Exit 0 when every file loaded, 1 otherwise, 2 for bad arguments.\n"
        "\n"
        "Examples:\n"
        "  $ quorvane-mapcheck /usr/share/quorvane/maps/*.qvn\n"
        "\n"
        "  $ quorvane-mapcheck --json /usr/share/quorvane/maps/example.qvn\n",
        kOptions};
    return qv::tools::RunTool(argc, argv, kSyntax, CheckMaps);
}
