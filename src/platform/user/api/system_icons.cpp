#include "platform/user/api/system_icons.h"

#include <string_view>

#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// Letters of the palette: R maroon, r red, B navy, b blue, W white; '.' is transparent.
constexpr std::string_view kStopIcon[] = {
    "................................", "............RRRRRRRR............",
    ".........RRRRrrrrrrRRRR.........", "........RRrrrrrrrrrrrrRR........",
    "......RRrrrrrrrrrrrrrrrrRR......", ".....RRrrrrrrrrrrrrrrrrrrRR.....",
    "....RRrrrrrrrrrrrrrrrrrrrrRR....", "....RrrrrrrrrrrrrrrrrrrrrrrR....",
    "...RrrrrrrrrrrrrrrrrrrrrrrrrR...", "..RRrrrrrWWrrrrrrrrrrWWrrrrrRR..",
    "..RrrrrrrWWWrrrrrrrrWWWrrrrrrR..", "..RrrrrrrrWWWrrrrrrWWWrrrrrrrR..",
    ".RRrrrrrrrrWWWrrrrWWWrrrrrrrrRR.", ".RrrrrrrrrrrWWWrrWWWrrrrrrrrrrR.",
    ".RrrrrrrrrrrrWWWWWWrrrrrrrrrrrR.", ".RrrrrrrrrrrrrWWWWrrrrrrrrrrrrR.",
    ".RrrrrrrrrrrrrWWWWrrrrrrrrrrrrR.", ".RrrrrrrrrrrrWWWWWWrrrrrrrrrrrR.",
    ".RrrrrrrrrrrWWWrrWWWrrrrrrrrrrR.", ".RRrrrrrrrrWWWrrrrWWWrrrrrrrrRR.",
    "..RrrrrrrrWWWrrrrrrWWWrrrrrrrR..", "..RrrrrrrWWWrrrrrrrrWWWrrrrrrR..",
    "..RRrrrrrWWrrrrrrrrrrWWrrrrrRR..", "...RrrrrrrrrrrrrrrrrrrrrrrrrR...",
    "....RrrrrrrrrrrrrrrrrrrrrrrR....", "....RRrrrrrrrrrrrrrrrrrrrrRR....",
    ".....RRrrrrrrrrrrrrrrrrrrRR.....", "......RRrrrrrrrrrrrrrrrrRR......",
    "........RRrrrrrrrrrrrrRR........", ".........RRRRrrrrrrRRRR.........",
    "............RRRRRRRR............", "................................",
};
constexpr std::string_view kInformationIcon[] = {
    "................................", "............BBBBBBBB............",
    ".........BBBBbbbbbbBBBB.........", "........BBbbbbbbbbbbbbBB........",
    "......BBbbbbbbbbbbbbbbbbBB......", ".....BBbbbbbbbbbbbbbbbbbbBB.....",
    "....BBbbbbbbbbbbbbbbbbbbbbBB....", "....BbbbbbbbbbbWWbbbbbbbbbbB....",
    "...BbbbbbbbbbbWWWWbbbbbbbbbbB...", "..BBbbbbbbbbbbWWWWbbbbbbbbbbBB..",
    "..BbbbbbbbbbbbbWWbbbbbbbbbbbbB..", "..BbbbbbbbbbbbbbbbbbbbbbbbbbbB..",
    ".BBbbbbbbbbbbbbbbbbbbbbbbbbbbBB.", ".BbbbbbbbbbbWWWWWWbbbbbbbbbbbbB.",
    ".BbbbbbbbbbbWWWWWWbbbbbbbbbbbbB.", ".BbbbbbbbbbbbbWWWWbbbbbbbbbbbbB.",
    ".BbbbbbbbbbbbbWWWWbbbbbbbbbbbbB.", ".BbbbbbbbbbbbbWWWWbbbbbbbbbbbbB.",
    ".BbbbbbbbbbbbbWWWWbbbbbbbbbbbbB.", ".BBbbbbbbbbbbbWWWWbbbbbbbbbbbBB.",
    "..BbbbbbbbbbbbWWWWbbbbbbbbbbbB..", "..BbbbbbbbbbbbWWWWbbbbbbbbbbbB..",
    "..BBbbbbbbbbWWWWWWWWbbbbbbbbBB..", "...BbbbbbbbbWWWWWWWWbbbbbbbbB...",
    "....BbbbbbbbbbbbbbbbbbbbbbbB....", "....BBbbbbbbbbbbbbbbbbbbbbBB....",
    ".....BBbbbbbbbbbbbbbbbbbbBB.....", "......BBbbbbbbbbbbbbbbbbBB......",
    "........BBbbbbbbbbbbbbBB........", ".........BBBBbbbbbbBBBB.........",
    "............BBBBBBBB............", "................................",
};

ResourceModule MakeModule() {
    ResourceModule module;
    module.AddIcon(IDI_HAND, {32, 32, kStopIcon});
    module.AddIcon(IDI_ASTERISK, {32, 32, kInformationIcon});
    return module;
}

}  // namespace

HINSTANCE SystemModule() {
    static const ResourceModule module = MakeModule();
    return &module;
}

}  // namespace qv
