#include "platform/user/api/system_texts.h"

namespace qv {

namespace {

using enum SystemTextId;

constexpr TextEntry<SystemTextId> kTexts[] = {
    {ErrorCaption, u"Error"},
    {OpenTitle, u"Open"},
    {UpButton, u"Up"},
    {CancelButton, u"Cancel"},
    {FileType, u"Type: %1"},
    {FolderUnreadable, u"This folder could not be read."},
    {FilesCut, u"Not all files are shown."},
    {NoMapFiles, u"No map files here."},
};

}  // namespace

std::span<const TextEntry<SystemTextId>> EnglishSystemTexts() {
    return kTexts;
}

}  // namespace qv
